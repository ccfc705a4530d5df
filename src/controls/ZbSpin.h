// A spin edit that drops a sign typed after the first character and passes
// on only changes that leave some text.
#pragma once

#include "platform/ui/Spin.h"

namespace zb {

class TZbSpinEdit : public TSpinEdit {
    ZB_CLASS(TZbSpinEdit, TSpinEdit)

public:
    explicit TZbSpinEdit(TComponent* owner = nullptr) : TSpinEdit(owner) {}

protected:
    void Change() override;

private:
    bool filtering_ = false;
};

}  // namespace zb
