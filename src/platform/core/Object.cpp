#include "platform/core/Object.h"

namespace zb {

namespace {
const ClassInfo::PropTable kNoProperties;
}

TObject::~TObject() = default;

const ClassInfo& TObject::StaticClassInfo() {
    static const ClassInfo info("TObject", nullptr, &kNoProperties);
    return info;
}

const ClassInfo& TObject::ClassType() const { return StaticClassInfo(); }

void TObject::Free() {
    BeforeDestruction();
    delete this;
}

namespace {
const ClassRegistrar registerTObject(TObject::StaticClassInfo());
}

}  // namespace zb
