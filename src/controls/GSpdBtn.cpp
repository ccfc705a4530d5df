#include "controls/GSpdBtn.h"

#include <mutex>
#include <string>
#include <vector>

#include "controls/ZeRudU5.h"
#include "platform/core/Published.h"
#include "platform/os/Library.h"
#include "platform/ui/Dialogs.h"

namespace zb {

namespace {

struct GlyphLibrary {
    TLibrary lib;
    ZeRudGetMaxBmpIDProc maxId = nullptr;
    ZeRudLoadBmpProc load = nullptr;

    GlyphLibrary() {
        if (!lib.Load("ZeRudU5.dll")) return;
        maxId = lib.Proc<int()>("GetMaxBmpID");
        load = lib.Proc<int(int, unsigned char*, int)>("LoadBmp");
    }
};

GlyphLibrary& Library() {
    static GlyphLibrary lib;
    return lib;
}

}  // namespace

int GlyphMaxBmpID() {
    auto& lib = Library();
    return lib.maxId ? lib.maxId() : 0;
}

bool GlyphLoadBmp(TBitmap* glyph, int id) {
    auto& lib = Library();
    if (!glyph || !lib.load) return false;
    int size = lib.load(id, nullptr, 0);
    if (size <= 0) return false;
    std::vector<unsigned char> bytes(static_cast<size_t>(size));
    // The size is asked again because the library may have been given a
    // different picture in between; a second answer that does not fit is refused.
    if (lib.load(id, bytes.data(), size) != size) return false;
    glyph->LoadFromBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return true;
}

ZB_PUBLISHED(TGSpeedButton){
    prop::Integer("GlyphIndex", &TGSpeedButton::GlyphIndex, &TGSpeedButton::SetGlyphIndex),
    prop::Integer("HintIndex", &TGSpeedButton::HintIndex, &TGSpeedButton::SetHintIndex),
};

TGSpeedButton::TGSpeedButton(TComponent* owner) : TSpeedButton(owner) {}

void TGSpeedButton::SetGlyphIndex(int n) {
    if (n == glyphIndex_) return;
    glyphIndex_ = n;
    SetCaption(std::to_string(n));
    try {
        if (n == 0 || n > GlyphMaxBmpID()) {
            Glyph()->SetSize(0, 0);
        } else {
            ++glyphLoads_;
            if (GlyphLoadBmp(Glyph(), n)) {
                SetCaption("");
                if (Glyph()->Height() > 0) {
                    int images = Glyph()->Width() / Glyph()->Height();
                    // The speed button holds 1..4 images; a wider strip shows its first four.
                    SetNumGlyphs(images < 1 ? 1 : images > 4 ? 4 : images);
                }
            }
        }
    } catch (const std::exception&) {
        MessageDlg("读取 BMP 发生错误", TMsgDlgType::mtError, mbOKOnly);
    }
    Changed("GlyphIndex");
}

}  // namespace zb
