// Help topics: pages of lines in parameter-file layout, shown in an information box.
#pragma once
#include "runtime/text/str_desc.h"

namespace rt {

// Shows topic n of page p for the text "p,n": the page's file (the application code's two letters
// and "HELP.HLP" when p is empty) is looked for in the default folder and then in the help folder,
// and then by its language-specific name the same way. The topic's first line is the box's caption,
// the other lines its text. 0, or 164 when no file or no line of the topic was found.
ErrCode HelpTopic(StrDesc text);

}  // namespace rt
