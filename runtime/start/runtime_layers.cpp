// The seams the runtime's upper layers install into the lower ones at start-up.
#include "runtime/start/runtime_layers.h"

#include "runtime/access/file_read.h"
#include "runtime/access/fn_records.h"
#include "runtime/expr/builtin_functions.h"
#include "runtime/mant/mant_action.h"

namespace rt {

namespace {

const FnRecordLayer kRecordFunctions{FnFileFind, FnFileRel, FnFileLocate, FnFileSelectList, FnFileRows};

}  // namespace

void RuntimeLayersInstall() {
    AccessInstall();
    FnRecordLayerSet(&kRecordFunctions);
}

}  // namespace rt
