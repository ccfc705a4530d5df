// The two registration variables through which a concrete job plugs its
// controller class and its job-form class into the library. Both are written
// once while the library loads, the controller class first.
#pragma once

#include "forms/framework/JobForm.h"
#include "plugin/DLLBaseCtrller.h"

namespace zb {

TDLLControllerClass& DLLControllerClass();
TJobFormClass& frmBaseBatchClass();

}  // namespace zb
