// TPersistent: objects that can copy their state from another (Assign), such
// as fonts and string lists held by controls.
#pragma once

#include "platform/core/Object.h"

namespace zb {

class TPersistent : public TObject {
    ZB_CLASS(TPersistent, TObject)

public:
    // Copies the state of `source`. The default asks the source to copy itself
    // into this object and throws EConvertError when neither side knows how.
    virtual void Assign(const TPersistent* source);

protected:
    virtual void AssignTo(TPersistent* dest) const;
};

}  // namespace zb
