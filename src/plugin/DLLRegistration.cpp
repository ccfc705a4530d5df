#include "plugin/DLLRegistration.h"

namespace zb {

TDLLControllerClass& DLLControllerClass() {
    static TDLLControllerClass value;
    return value;
}

TJobFormClass& frmBaseBatchClass() {
    static TJobFormClass value;
    return value;
}

}  // namespace zb
