#include "platform/core/IntConsts.h"

#include <map>
#include <mutex>

#include "platform/core/TextUtils.h"

namespace zb {

namespace {

struct Table {
    std::mutex mutex;
    std::map<std::string, const IntIdents*> byType;  // lower-case type name
};

Table& Tables() {
    static Table t;
    return t;
}

const IntIdents* Find(std::string_view typeName) {
    Table& t = Tables();
    std::lock_guard lock(t.mutex);
    auto it = t.byType.find(LowerCase(typeName));
    return it == t.byType.end() ? nullptr : it->second;
}

// System colours carry the index of the system colour with the top byte set.
constexpr std::int64_t Sys(int index) { return static_cast<std::int32_t>(0xFF000000u | static_cast<unsigned>(index)); }

struct Standard {
    Standard() {
        RegisterIntegerConsts("TColor", ColorIdents());
        RegisterIntegerConsts("TCursor", CursorIdents());
    }
};
const Standard standard;

}  // namespace

const IntIdents& ColorIdents() {
    static const IntIdents t = {
        {"clBlack", 0x000000}, {"clMaroon", 0x000080}, {"clGreen", 0x008000}, {"clOlive", 0x008080},
        {"clNavy", 0x800000}, {"clPurple", 0x800080}, {"clTeal", 0x808000}, {"clGray", 0x808080},
        {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF}, {"clLime", 0x00FF00}, {"clYellow", 0x00FFFF},
        {"clBlue", 0xFF0000}, {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00}, {"clWhite", 0xFFFFFF},
        {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6}, {"clCream", 0xF0FBFF}, {"clMedGray", 0xA4A0A0},
        {"clNone", 0x1FFFFFFF}, {"clDefault", 0x20000000},
        {"clScrollBar", Sys(0)}, {"clBackground", Sys(1)}, {"clActiveCaption", Sys(2)},
        {"clInactiveCaption", Sys(3)}, {"clMenu", Sys(4)}, {"clWindow", Sys(5)}, {"clWindowFrame", Sys(6)},
        {"clMenuText", Sys(7)}, {"clWindowText", Sys(8)}, {"clCaptionText", Sys(9)},
        {"clActiveBorder", Sys(10)}, {"clInactiveBorder", Sys(11)}, {"clAppWorkSpace", Sys(12)},
        {"clHighlight", Sys(13)}, {"clHighlightText", Sys(14)}, {"clBtnFace", Sys(15)},
        {"clBtnShadow", Sys(16)}, {"clGrayText", Sys(17)}, {"clBtnText", Sys(18)},
        {"clInactiveCaptionText", Sys(19)}, {"clBtnHighlight", Sys(20)}, {"cl3DDkShadow", Sys(21)},
        {"cl3DLight", Sys(22)}, {"clInfoText", Sys(23)}, {"clInfoBk", Sys(24)},
        // Synonyms come after the names they stand for, so IntToIdent finds those.
        {"clLtGray", 0xC0C0C0}, {"clDkGray", 0x808080},
    };
    return t;
}

const IntIdents& CursorIdents() {
    static const IntIdents t = {
        {"crDefault", 0}, {"crNone", -1}, {"crArrow", -2}, {"crCross", -3}, {"crIBeam", -4},
        {"crSizeNESW", -6}, {"crSizeNS", -7}, {"crSizeNWSE", -8}, {"crSizeWE", -9}, {"crUpArrow", -10},
        {"crHourGlass", -11}, {"crDrag", -12}, {"crNoDrop", -13}, {"crHSplit", -14}, {"crVSplit", -15},
        {"crMultiDrag", -16}, {"crSQLWait", -17}, {"crNo", -18}, {"crAppStart", -19}, {"crHelp", -20},
        {"crHandPoint", -21}, {"crSizeAll", -22},
    };
    return t;
}

void RegisterIntegerConsts(std::string_view typeName, const IntIdents& idents) {
    Table& t = Tables();
    std::lock_guard lock(t.mutex);
    t.byType[LowerCase(typeName)] = &idents;
}

void UnregisterIntegerConsts(std::string_view typeName) {
    Table& t = Tables();
    std::lock_guard lock(t.mutex);
    t.byType.erase(LowerCase(typeName));
}

bool HasIntegerConsts(std::string_view typeName) { return Find(typeName) != nullptr; }

bool IdentToInt(std::string_view typeName, std::string_view ident, std::int64_t& value) {
    const IntIdents* idents = Find(typeName);
    if (!idents) return false;
    for (const auto& [name, v] : *idents)
        if (SameText(name, ident)) {
            value = v;
            return true;
        }
    return false;
}

bool IntToIdent(std::string_view typeName, std::int64_t value, std::string& ident) {
    const IntIdents* idents = Find(typeName);
    if (!idents) return false;
    for (const auto& [name, v] : *idents)
        if (v == value) {
            ident = name;
            return true;
        }
    return false;
}

}  // namespace zb
