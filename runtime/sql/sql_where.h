// Conditions written in the expression language turned into SQL, such as
//   NOMBRE{}=='GARCIA*' && POBLACION{}=='VIGO'   ->   "NOMBRE" ILIKE 'GARCIA%' AND "POBLACION" = 'VIGO'
// Each term must start with a field reference; a term that does not is left out, and so is the
// arithmetic tail of a term. A numeric field compared with < or <= (or == 0) also takes NULL rows.
#pragma once
#include "runtime/text/str_desc.h"

namespace rt {

// The SQL condition of an expression (unchanged when _AUXSTAT bit 256 says it is SQL already). A
// scanner failure, or an operand of an unexpected kind (147), gives its error descriptor with the
// expression as the detail. On DynStrings.
StrDesc SqlWhere(StrDesc expression);
// The ';'-separated items of list, each translated with SqlWhere, joined with ',' (SET lists:
// N_LINE{}==5 gives "N_LINE" = 5).
StrDesc SqlWhereList(StrDesc list);

}  // namespace rt
