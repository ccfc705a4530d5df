// The JSON form of a Variant: every type, array bound and the 8-bit/wide
// distinction written out, and read back strictly from untrusted text.
#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/core/Exceptions.h"
#include "platform/core/Variant.h"

namespace zb {

namespace {

// Nesting limits keep the reader's recursion bounded whatever the input.
constexpr int kMaxJsonDepth = 256;
constexpr int kMaxVariantDepth = 64;
constexpr std::size_t kMaxDims = 64;
constexpr std::size_t kMaxMembers = 4;

// ---- shared -------------------------------------------------------------------

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t len = 0;
        char32_t cp = 0;
        if (c >= 0xC2 && c <= 0xDF) len = 2, cp = c & 0x1F;
        else if (c >= 0xE0 && c <= 0xEF) len = 3, cp = c & 0x0F;
        else if (c >= 0xF0 && c <= 0xF4) len = 4, cp = c & 0x07;
        else return false;
        if (i + len > s.size()) return false;
        for (std::size_t k = 1; k < len; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // No overlong forms, no surrogates, nothing beyond U+10FFFF.
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))) return false;
        if (cp >= 0xD800 && cp <= 0xDFFF) return false;
        i += len;
    }
    return true;
}

struct TypeName {
    VarType type;
    const char* name;
};

constexpr TypeName kTypeNames[] = {
    {VarType::Empty, "empty"},   {VarType::Null, "null"},     {VarType::Boolean, "bool"},
    {VarType::Integer, "int"},   {VarType::Float, "float"},   {VarType::DateTime, "date"},
    {VarType::String, "str"},    {VarType::WideString, "wstr"}, {VarType::Dispatch, "disp"},
    {VarType::Variant, "variant"}, {VarType::Array, "array"},
};

const char* JsonTypeName(VarType t) {
    for (const TypeName& n : kTypeNames)
        if (n.type == t) return n.name;
    return "unknown";
}

bool JsonTypeOf(std::string_view name, VarType& t) {
    for (const TypeName& n : kTypeNames)
        if (name == n.name) {
            t = n.type;
            return true;
        }
    return false;
}

// ---- writing ------------------------------------------------------------------

void WriteString(std::string& out, std::string_view s) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += ch;
        }
    }
    out += '"';
}

void WriteHex(std::string& out, std::string_view s) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
    }
    out += '"';
}

// Shortest text that reads back to the same double; JSON has no NaN or
// infinity, so those travel as strings.
void WriteDouble(std::string& out, double d) {
    if (std::isnan(d)) {
        out += "\"NaN\"";
        return;
    }
    if (std::isinf(d)) {
        out += d < 0 ? "\"-Infinity\"" : "\"Infinity\"";
        return;
    }
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
    std::string_view text(buf, static_cast<std::size_t>(end - buf));
    out += text;
    if (text.find_first_of(".e") == std::string_view::npos) out += ".0";  // stays visibly a float
}

void Write(std::string& out, const Variant& v, int depth);

void WriteArray(std::string& out, const VarArray& a, int depth) {
    out += "{\"t\":\"array\",\"elem\":\"";
    out += JsonTypeName(a.ElementType());
    out += "\",\"bounds\":[";
    for (std::size_t k = 0; k < a.Bounds().size(); ++k) {
        if (k) out += ',';
        out += '[' + std::to_string(a.Bounds()[k].low) + ',' + std::to_string(a.Bounds()[k].high) + ']';
    }
    out += "],\"v\":[";
    for (std::size_t k = 0; k < a.Items().size(); ++k) {
        if (k) out += ',';
        Write(out, a.Items()[k], depth + 1);
    }
    out += "]}";
}

void WriteText(std::string& out, const char* type, const std::string& s) {
    out += "{\"t\":\"";
    out += type;
    if (IsValidUtf8(s)) {
        out += "\",\"v\":";
        WriteString(out, s);
    } else {
        out += "\",\"hex\":";
        WriteHex(out, s);
    }
    out += '}';
}

void Write(std::string& out, const Variant& v, int depth) {
    // The reader's limit applies here too, so whatever is written can be read
    // back, and an array that was made to contain itself ends in an error.
    if (depth > kMaxVariantDepth) throw EVariantError("Variant arrays nested too deeply to write");
    switch (v.Type()) {
    case VarType::Boolean: out += v.ToBool() ? "{\"t\":\"bool\",\"v\":true}" : "{\"t\":\"bool\",\"v\":false}"; return;
    case VarType::Integer: out += "{\"t\":\"int\",\"v\":" + std::to_string(v.ToInt()) + '}'; return;
    case VarType::Float:
    case VarType::DateTime:
        out += v.Type() == VarType::Float ? "{\"t\":\"float\",\"v\":" : "{\"t\":\"date\",\"v\":";
        WriteDouble(out, v.ToFloat());
        out += '}';
        return;
    case VarType::String: WriteText(out, "str", v.Text()); return;
    case VarType::WideString: WriteText(out, "wstr", v.Text()); return;
    case VarType::Array: WriteArray(out, v.Array(), depth); return;
    default:
        out += "{\"t\":\"";
        out += JsonTypeName(v.Type());
        out += "\"}";
        return;
    }
}

// ---- reading: JSON text to a tree -----------------------------------------------

struct Node {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    bool b = false;
    std::string text;  // a string's value, or a number's digits as written
    std::vector<Node> items;      // an array's values, or an object's member values
    std::vector<std::string> keys;  // an object's member names, beside `items`
    std::size_t offset = 0;
};

class Parser {
public:
    explicit Parser(std::string_view text) : s_(text) {}

    Node Document() {
        Node n = Value(0);
        SkipSpace();
        if (p_ != s_.size()) Fail("unexpected text after the value");
        return n;
    }

private:
    [[noreturn]] void Fail(const std::string& why) const {
        throw EVariantError("Invalid variant JSON at offset " + std::to_string(p_) + ": " + why);
    }

    void SkipSpace() {
        while (p_ < s_.size() && (s_[p_] == ' ' || s_[p_] == '\t' || s_[p_] == '\n' || s_[p_] == '\r')) ++p_;
    }

    void Expect(char c) {
        SkipSpace();
        if (p_ >= s_.size() || s_[p_] != c) Fail(std::string("'") + c + "' expected");
        ++p_;
    }

    bool Literal(std::string_view word) {
        if (s_.substr(p_, word.size()) != word) return false;
        p_ += word.size();
        return true;
    }

    Node Value(int depth) {
        if (depth > kMaxJsonDepth) Fail("nested too deeply");
        SkipSpace();
        if (p_ >= s_.size()) Fail("value expected");
        Node n;
        n.offset = p_;
        const char c = s_[p_];
        if (c == '{') {
            ObjectBody(n, depth);
        } else if (c == '[') {
            ArrayBody(n, depth);
        } else if (c == '"') {
            n.kind = Node::Kind::String;
            n.text = String();
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            n.kind = Node::Kind::Number;
            n.text = Number();
        } else if (Literal("true")) {
            n.kind = Node::Kind::Bool;
            n.b = true;
        } else if (Literal("false")) {
            n.kind = Node::Kind::Bool;
        } else if (!Literal("null")) {
            Fail("value expected");
        }
        return n;
    }

    void ObjectBody(Node& n, int depth) {
        n.kind = Node::Kind::Object;
        ++p_;
        SkipSpace();
        if (p_ < s_.size() && s_[p_] == '}') {
            ++p_;
            return;
        }
        for (;;) {
            SkipSpace();
            if (p_ >= s_.size() || s_[p_] != '"') Fail("member name expected");
            std::string key = String();
            // No value of the form has more than four members; the cap also
            // keeps the duplicate check below from going quadratic.
            if (n.keys.size() >= kMaxMembers) Fail("too many members");
            for (const std::string& k : n.keys)
                if (k == key) Fail("duplicate member \"" + key + "\"");
            Expect(':');
            n.items.push_back(Value(depth + 1));
            n.keys.push_back(std::move(key));
            SkipSpace();
            if (p_ < s_.size() && s_[p_] == ',') {
                ++p_;
                continue;
            }
            Expect('}');
            return;
        }
    }

    void ArrayBody(Node& n, int depth) {
        n.kind = Node::Kind::Array;
        ++p_;
        SkipSpace();
        if (p_ < s_.size() && s_[p_] == ']') {
            ++p_;
            return;
        }
        for (;;) {
            n.items.push_back(Value(depth + 1));
            SkipSpace();
            if (p_ < s_.size() && s_[p_] == ',') {
                ++p_;
                continue;
            }
            Expect(']');
            return;
        }
    }

    std::string Number() {
        const std::size_t start = p_;
        auto digits = [&] {
            const std::size_t from = p_;
            while (p_ < s_.size() && s_[p_] >= '0' && s_[p_] <= '9') ++p_;
            return p_ - from;
        };
        if (s_[p_] == '-') ++p_;
        if (p_ < s_.size() && s_[p_] == '0') ++p_;
        else if (digits() == 0) Fail("digit expected");
        if (p_ < s_.size() && s_[p_] == '.') {
            ++p_;
            if (digits() == 0) Fail("digit expected after '.'");
        }
        if (p_ < s_.size() && (s_[p_] == 'e' || s_[p_] == 'E')) {
            ++p_;
            if (p_ < s_.size() && (s_[p_] == '+' || s_[p_] == '-')) ++p_;
            if (digits() == 0) Fail("digit expected in exponent");
        }
        return std::string(s_.substr(start, p_ - start));
    }

    unsigned Hex4() {
        if (p_ + 4 > s_.size()) Fail("four hex digits expected");
        unsigned value = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = s_[p_++];
            value <<= 4;
            if (c >= '0' && c <= '9') value |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f') value |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F') value |= static_cast<unsigned>(c - 'A' + 10);
            else Fail("hex digit expected");
        }
        return value;
    }

    static void AppendUtf8(std::string& out, char32_t cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    void Escape(std::string& out) {
        if (p_ >= s_.size()) Fail("unterminated escape");
        const char c = s_[p_++];
        switch (c) {
        case '"': out += '"'; return;
        case '\\': out += '\\'; return;
        case '/': out += '/'; return;
        case 'b': out += '\b'; return;
        case 'f': out += '\f'; return;
        case 'n': out += '\n'; return;
        case 'r': out += '\r'; return;
        case 't': out += '\t'; return;
        case 'u': break;
        default: Fail("unknown escape");
        }
        char32_t cp = Hex4();
        if (cp >= 0xDC00 && cp <= 0xDFFF) Fail("lone low surrogate");
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            if (!Literal("\\u")) Fail("high surrogate without its pair");
            const char32_t low = Hex4();
            if (low < 0xDC00 || low > 0xDFFF) Fail("high surrogate without its pair");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        }
        AppendUtf8(out, cp);
    }

    std::string String() {
        ++p_;  // opening quote
        std::string out;
        std::size_t runStart = p_;
        auto flush = [&] {
            const std::string_view run = s_.substr(runStart, p_ - runStart);
            if (!IsValidUtf8(run)) Fail("text is not UTF-8");
            out += run;
        };
        while (p_ < s_.size()) {
            const auto c = static_cast<unsigned char>(s_[p_]);
            if (c == '"') {
                flush();
                ++p_;
                return out;
            }
            if (c == '\\') {
                flush();
                ++p_;
                Escape(out);
                runStart = p_;
                continue;
            }
            if (c < 0x20) Fail("control character in text");
            ++p_;
        }
        Fail("unterminated text");
    }

    std::string_view s_;
    std::size_t p_ = 0;
};

// ---- reading: tree to Variant ------------------------------------------------------

[[noreturn]] void Bad(const Node& n, const std::string& why) {
    throw EVariantError("Invalid variant JSON at offset " + std::to_string(n.offset) + ": " + why);
}

const Node* Member(const Node& obj, std::string_view key) {
    for (std::size_t k = 0; k < obj.keys.size(); ++k)
        if (obj.keys[k] == key) return &obj.items[k];
    return nullptr;
}

const Node& Required(const Node& obj, std::string_view key, Node::Kind kind) {
    const Node* n = Member(obj, key);
    if (!n) Bad(obj, "member \"" + std::string(key) + "\" missing");
    if (n->kind != kind) Bad(*n, "member \"" + std::string(key) + "\" has the wrong kind of value");
    return *n;
}

void OnlyMembers(const Node& obj, std::initializer_list<std::string_view> allowed) {
    for (std::size_t k = 0; k < obj.keys.size(); ++k) {
        bool known = false;
        for (std::string_view a : allowed) known = known || obj.keys[k] == a;
        if (!known) Bad(obj.items[k], "unexpected member \"" + obj.keys[k] + "\"");
    }
}

std::int64_t ReadInt64(const Node& n) {
    if (n.kind != Node::Kind::Number) Bad(n, "integer expected");
    std::int64_t value = 0;
    const char* end = n.text.data() + n.text.size();
    const auto [ptr, ec] = std::from_chars(n.text.data(), end, value);
    if (ec != std::errc() || ptr != end) Bad(n, "integer out of range or not whole");
    return value;
}

std::int32_t ReadInt32(const Node& n) {
    const std::int64_t v = ReadInt64(n);
    if (v < INT32_MIN || v > INT32_MAX) Bad(n, "bound out of range");
    return static_cast<std::int32_t>(v);
}

double ReadDouble(const Node& n) {
    if (n.kind == Node::Kind::String) {
        if (n.text == "NaN") return std::nan("");
        if (n.text == "Infinity") return HUGE_VAL;
        if (n.text == "-Infinity") return -HUGE_VAL;
        Bad(n, "number expected");
    }
    if (n.kind != Node::Kind::Number) Bad(n, "number expected");
    double value = 0;
    const char* end = n.text.data() + n.text.size();
    const auto [ptr, ec] = std::from_chars(n.text.data(), end, value);
    if (ec != std::errc() || ptr != end) Bad(n, "number out of range");
    return value;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string ReadText(const Node& obj) {
    OnlyMembers(obj, {"t", "v", "hex"});
    const Node* v = Member(obj, "v");
    const Node* hex = Member(obj, "hex");
    if ((v == nullptr) == (hex == nullptr)) Bad(obj, "text needs exactly one of \"v\" and \"hex\"");
    if (v) {
        if (v->kind != Node::Kind::String) Bad(*v, "text expected");
        return v->text;
    }
    if (hex->kind != Node::Kind::String || hex->text.size() % 2 != 0) Bad(*hex, "even count of hex digits expected");
    std::string bytes;
    bytes.reserve(hex->text.size() / 2);
    for (std::size_t k = 0; k < hex->text.size(); k += 2) {
        const int hi = HexDigit(hex->text[k]), lo = HexDigit(hex->text[k + 1]);
        if (hi < 0 || lo < 0) Bad(*hex, "hex digit expected");
        bytes += static_cast<char>(hi * 16 + lo);
    }
    return bytes;
}

Variant Build(const Node& n, int depth);

Variant BuildArray(const Node& obj, int depth) {
    OnlyMembers(obj, {"t", "elem", "bounds", "v"});
    const Node& elemNode = Required(obj, "elem", Node::Kind::String);
    VarType elem{};
    if (!JsonTypeOf(elemNode.text, elem) || elem == VarType::Empty || elem == VarType::Null || elem == VarType::Array)
        Bad(elemNode, "unknown element type");
    const Node& boundsNode = Required(obj, "bounds", Node::Kind::Array);
    if (boundsNode.items.empty() || boundsNode.items.size() > kMaxDims) Bad(boundsNode, "bad dimension count");
    std::vector<ArrayBound> bounds;
    std::size_t count = 1;
    for (const Node& b : boundsNode.items) {
        if (b.kind != Node::Kind::Array || b.items.size() != 2) Bad(b, "[low,high] expected");
        const ArrayBound bound{ReadInt32(b.items[0]), ReadInt32(b.items[1])};
        const std::int64_t dimCount = std::int64_t{bound.high} - bound.low + 1;
        if (dimCount < 0) Bad(b, "high bound below low bound");
        bounds.push_back(bound);
        // Sizes are checked against the elements present, so a claim of a
        // huge array never allocates.
        if (count != 0) count = dimCount > 0 && count <= SIZE_MAX / static_cast<std::size_t>(dimCount)
                                    ? count * static_cast<std::size_t>(dimCount)
                                    : (dimCount == 0 ? 0 : SIZE_MAX);
    }
    const Node& items = Required(obj, "v", Node::Kind::Array);
    if (count != items.items.size()) Bad(items, "element count does not match the bounds");
    Variant v = VarArrayCreate(bounds, elem);
    std::vector<Variant>& cells = v.Array().Items();
    for (std::size_t k = 0; k < cells.size(); ++k) cells[k] = Build(items.items[k], depth + 1);
    return v;
}

Variant Build(const Node& n, int depth) {
    if (depth > kMaxVariantDepth) Bad(n, "arrays nested too deeply");
    if (n.kind != Node::Kind::Object) Bad(n, "object expected");
    const Node& t = Required(n, "t", Node::Kind::String);
    VarType type{};
    if (!JsonTypeOf(t.text, type) || type == VarType::Variant) Bad(t, "unknown type \"" + t.text + "\"");
    switch (type) {
    case VarType::Empty: OnlyMembers(n, {"t"}); return Variant();
    case VarType::Null: OnlyMembers(n, {"t"}); return Variant(Null);
    case VarType::Boolean: OnlyMembers(n, {"t", "v"}); return Variant(Required(n, "v", Node::Kind::Bool).b);
    case VarType::Integer: {
        OnlyMembers(n, {"t", "v"});
        const Node* v = Member(n, "v");
        if (!v) Bad(n, "member \"v\" missing");
        return Variant(ReadInt64(*v));
    }
    case VarType::Float:
    case VarType::DateTime: {
        OnlyMembers(n, {"t", "v"});
        const Node* v = Member(n, "v");
        if (!v) Bad(n, "member \"v\" missing");
        const double d = ReadDouble(*v);
        return type == VarType::Float ? Variant(d) : Variant::Date(d);
    }
    case VarType::String: return Variant(ReadText(n));
    case VarType::WideString: return Variant::Wide(ReadText(n));
    case VarType::Dispatch: Bad(n, "an automation object cannot be rebuilt from text");
    case VarType::Array: return BuildArray(n, depth);
    default: break;
    }
    Bad(t, "unknown type");
}

}  // namespace

std::string Variant::ToJson() const {
    std::string out;
    Write(out, *this, 0);
    return out;
}

Variant Variant::FromJson(std::string_view json) {
    const Node root = Parser(json).Document();
    return Build(root, 0);
}

}  // namespace zb
