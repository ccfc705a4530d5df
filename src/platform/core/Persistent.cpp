#include "platform/core/Persistent.h"

#include "platform/core/Published.h"

namespace zb {

ZB_PUBLISHED(TPersistent){};

void TPersistent::Assign(const TPersistent* source) {
    if (source) {
        source->AssignTo(this);
        return;
    }
    throw EConvertError("Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* dest) const {
    throw EConvertError("Cannot assign a " + ClassName() + " to a " + (dest ? dest->ClassName() : std::string("nil")));
}

}  // namespace zb
