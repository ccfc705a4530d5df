// A form that records the quick-pick requests it receives, for the control tests.
#pragma once

#include <string>
#include <vector>

#include "platform/os/Library.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "support/TestSupport.h"

namespace zb::test {

class TfrmHost : public TForm {
    ZB_CLASS(TfrmHost, TForm)

public:
    explicit TfrmHost(TComponent* owner) : TForm(owner) {
        SetName("frmHost");
        SetBounds(0, 0, 600, 400);
    }
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_QUICKPICK) {
            picks.push_back(reinterpret_cast<TControl*>(m.LParam));
            return;
        }
        inherited::WndProc(m);
    }
    std::vector<TControl*> picks;
};

class ControlsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        AddLibrarySearchFolder(BuildBinDir().string());
        HeadlessDialogs().Clear();
        form = TCustomForm::Create<TfrmHost>(nullptr);
        form->Show();
    }
    void TearDown() override {
        form->Free();
        Application().ProcessMessages();
        HeadlessDialogs().Clear();
    }
    TfrmHost* form = nullptr;
};

}  // namespace zb::test
