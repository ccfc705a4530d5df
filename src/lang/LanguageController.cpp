#include "lang/LanguageController.h"

#include <algorithm>
#include <charconv>
#include <mutex>

#include "env/OrkelINI.h"
#include "platform/core/IntConsts.h"
#include "platform/core/PathItems.h"
#include "platform/core/Published.h"
#include "platform/core/TextUtils.h"
#include "platform/core/TypInfo.h"
#include "platform/os/Paths.h"

namespace zb {

const EnumNames DesignTypeNames = {"dtClient", "dtServer"};

// ---------------------------------------------------------------------------
// Property paths

namespace {

// A whole decimal number that fits an int, blanks around it allowed.
bool ParseIndex(std::string_view text, int& index) {
    const std::string t = Trim(text);
    if (t.empty() || t.size() > 9) return false;
    int n = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
    }
    index = n;
    return true;
}

// The object a published property of object type holds; null when there is
// no such property, it is of another kind, or it holds nothing.
TObject* ObjectProp(TObject* object, std::string_view name) {
    const PropInfo* p = GetPropInfo(object, name);
    if (!p || p->Kind != TypeKind::Class || !p->GetObject) return nullptr;
    return p->GetObject(*object);
}

// "Items_k" / "Columns_k" inside a path.
TObject* IndexedStep(TObject* object, const TPathSegment& segment) {
    if (auto* items = dynamic_cast<IPathItems*>(object))
        if (std::optional<TObject*> item = items->PathItem(segment.Name, segment.Index)) return *item;
    // Anything else: the list the segment names. When that list is itself
    // indexable (a grid's column collection) the index goes to it, rather than
    // being lost and the rest of the path applied to the whole list.
    TObject* list = ObjectProp(object, segment.Name);
    if (auto* items = dynamic_cast<IPathItems*>(list))
        if (std::optional<TObject*> item = items->PathItem(segment.Name, segment.Index)) return *item;
    return list;
}

// The text is an integer as it stands (sign and digits only).
bool IsInteger(const std::string& text, std::int64_t& value) {
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && p == end && !text.empty();
}

bool IsListSegment(std::string_view name) { return SameText(name, "Items") || SameText(name, "Columns"); }

bool SetLine(TStrings& list, int index, const std::string& value) {
    if (index < 0 || index > MaxLangListIndex) return false;
    list.BeginUpdate();
    while (list.Count() <= index) list.Add("");
    list.SetStrings(index, value);
    list.EndUpdate();
    return true;
}

}  // namespace

TPathSegment ParsePathSegment(std::string_view segment) {
    TPathSegment s;
    const size_t bar = segment.find('_');
    s.Name = std::string(segment.substr(0, bar));
    if (bar != std::string_view::npos && !ParseIndex(segment.substr(bar + 1), s.Index)) s.Index = -1;
    return s;
}

bool SetLangPropValue(TObject& object, std::string_view name, const std::string& value) {
    TObject* target = &object;
    for (size_t dot; (dot = name.find('.')) != std::string_view::npos; name.remove_prefix(dot + 1)) {
        target = ObjectProp(target, name.substr(0, dot));
        if (!target) return false;
    }
    const PropInfo* p = GetPropInfo(target, name);
    if (!p || !p->IsWritable()) return false;
    try {
        switch (p->Kind) {
            case TypeKind::Integer: {
                std::int64_t v = 0;
                if (IdentToInt(p->TypeName, Trim(value), v)) {
                    SetOrdProp(*target, *p, v);
                    return true;
                }
                SetPropValue(*target, *p, Variant(value));
                return true;
            }
            case TypeKind::Enumeration:
            case TypeKind::Set: {
                std::int64_t v = 0;
                if (IsInteger(value, v))
                    SetPropValue(*target, *p, Variant(v));
                else
                    SetPropValue(*target, *p, Variant(Trim(value)));
                return true;
            }
            case TypeKind::String: SetStrProp(*target, *p, value); return true;
            // A text cannot name an object or a handler.
            case TypeKind::Class:
            case TypeKind::Method: return false;
            default: SetPropValue(*target, *p, Variant(value)); return true;
        }
    } catch (const std::exception&) {
        // A value the property does not take (or a setter that refuses it)
        // skips this one assignment; the rest of the file still applies.
        return false;
    }
}

bool ApplyLangAttribute(TComponent& component, std::string_view path, const std::string& value) {
    TObject* target = &component;
    std::string_view last = path;
    for (size_t start = 0; path.find('.') != std::string_view::npos;) {
        const size_t dot = path.find('.', start);
        const std::string_view segment = path.substr(start, dot == std::string_view::npos ? dot : dot - start);
        if (dot == std::string_view::npos || Trim(path.substr(dot + 1)).empty()) {
            last = segment;
            break;
        }
        const TPathSegment s = ParsePathSegment(segment);
        if (s.Index < 0) {
            target = ObjectProp(target, s.Name);
        } else if (!IsListSegment(s.Name)) {
            last = path.substr(start);
            break;
        } else {
            target = IndexedStep(target, s);
        }
        if (!target) return false;
        start = dot + 1;
    }

    const TPathSegment leaf = ParsePathSegment(last);
    if (target == &component && leaf.Index >= 0) {
        target = ObjectProp(target, leaf.Name);
        if (!target) return false;
    }
    if (auto* list = dyn_cast<TStrings>(target)) {
        try {
            return SetLine(*list, leaf.Index, value);
        } catch (const std::exception&) {
            // A list that refuses the line (a sorted one) keeps what it has.
            return false;
        }
    }
    return SetLangPropValue(*target, leaf.Name, value);
}

// ---------------------------------------------------------------------------
// Readers

bool TComponentRead::ReadAttribute(int index) {
    if (!component_ || element_.IsNull() || index < 0) return false;
    const XmlNodeList attributes = element_.Attributes();
    if (index >= static_cast<int>(attributes.size())) return false;
    return ApplyLangAttribute(*component_, attributes[index].NodeName(), attributes[index].Text());
}

bool TComponentRead::ReadAttribute(const std::string& name) {
    if (!component_ || element_.IsNull() || !element_.HasAttribute(name)) return false;
    return ApplyLangAttribute(*component_, name, element_.GetAttribute(name));
}

void TComponentRead::ReadAll() {
    if (!component_ || element_.IsNull()) return;
    for (const XmlNode& a : element_.Attributes()) ApplyLangAttribute(*component_, a.NodeName(), a.Text());
}

void TItemIndexKeepingRead::ReadAll() {
    const PropInfo* p = component_ ? GetPropInfo(component_, "ItemIndex") : nullptr;
    std::int64_t index = 0;
    bool keep = false;
    if (p && p->GetOrd && p->IsWritable()) {
        try {
            index = GetOrdProp(*component_, *p);
            keep = true;
        } catch (const std::exception&) {
            // Without a readable selection there is nothing to keep.
        }
    }
    TComponentRead::ReadAll();
    if (!keep) return;
    try {
        SetOrdProp(*component_, *p, index);
    } catch (const std::exception&) {
        // The items no longer hold the old selection; the control's own is kept.
    }
}

namespace {

struct ReaderRegistry {
    std::mutex mutex;
    std::vector<std::pair<std::string, TReaderFactory::Creator>> creators;

    ReaderRegistry() {
        creators.emplace_back("TwwDBCustomComboBox", [] { return std::make_unique<TwwDBCustomComboBoxRead>(); });
        creators.emplace_back("TCustomComboBox", [] { return std::make_unique<TCustomComboBoxRead>(); });
    }
};

ReaderRegistry& Readers() {
    static ReaderRegistry r;
    return r;
}

}  // namespace

void TReaderFactory::RegisterReader(std::string_view className, Creator creator) {
    ReaderRegistry& r = Readers();
    std::lock_guard lock(r.mutex);
    for (auto& entry : r.creators)
        if (SameText(entry.first, className)) {
            entry.second = std::move(creator);
            return;
        }
    r.creators.emplace_back(std::string(className), std::move(creator));
}

void TReaderFactory::UnregisterReader(std::string_view className) {
    ReaderRegistry& r = Readers();
    std::lock_guard lock(r.mutex);
    std::erase_if(r.creators, [&](const auto& entry) { return SameText(entry.first, className); });
}

std::unique_ptr<ILangRead> TReaderFactory::CreateReader(TComponent* component) {
    std::unique_ptr<ILangRead> reader;
    if (component) {
        ReaderRegistry& r = Readers();
        std::lock_guard lock(r.mutex);
        for (const ClassInfo* c = &component->ClassType(); c && !reader; c = c->Parent())
            for (const auto& [name, create] : r.creators)
                if (SameText(name, c->Name())) {
                    reader = create();
                    break;
                }
    }
    if (!reader) reader = std::make_unique<TComponentRead>();
    reader->SetComponent(component);
    return reader;
}

bool IsLangRoot(const TComponent* component) {
    return component &&
           (component->ClassType().InheritsFrom("TCustomForm") || component->ClassType().InheritsFrom("TDataModule"));
}

ZB_PUBLISHED(TLangReader){};

TLangReader::TLangReader(const XmlDocument& document) : document_(document) {}

TLangReader::~TLangReader() = default;

void TLangReader::SetExcludeControls(const TStrings& names) {
    exclude_.Assign(&names);
    excluded_.clear();
    for (int i = 0; i < names.Count(); ++i) excluded_.insert(LowerCase(Trim(names.Get(i))));
}

void TLangReader::BuildIndex() const {
    // One walk in document order instead of a "//Name" search per component:
    // the first element of each name is the one the search would find.
    elements_.clear();
    std::vector<XmlNode> pending;
    if (XmlNode root = document_.DocumentElement()) pending.push_back(root);
    while (!pending.empty()) {
        XmlNode node = std::move(pending.back());
        pending.pop_back();
        elements_.try_emplace(node.NodeName(), node);
        XmlNodeList children = node.ChildNodes();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            if (it->NodeType() == XmlNodeType::Element) pending.push_back(std::move(*it));
    }
    indexed_ = true;
}

XmlNode TLangReader::FindElement(std::string_view name) const {
    if (!indexed_) BuildIndex();
    auto it = elements_.find(std::string(name));
    return it == elements_.end() ? XmlNode() : it->second;
}

void TLangReader::Apply(TComponent* component, const XmlNode& element) {
    BeforeLoadComponent(component, element);
    std::unique_ptr<ILangRead> reader = TReaderFactory::CreateReader(component);
    reader->SetElement(element);
    reader->ReadAll();
    AfterLoadComponent(component, element);
}

void TLangReader::ReadComponent(TComponent* component) { ReadTree(component, 0); }

void TLangReader::ReadTree(TComponent* component, int depth) {
    // Ownership cannot loop, but a runaway depth would end the process.
    if (!component || depth > 1000) return;
    if (IsLangRoot(component))
        if (XmlNode root = document_.DocumentElement()) Apply(component, root);
    if (!component->Name().empty() && !excluded_.contains(LowerCase(component->Name())))
        if (XmlNode element = FindElement(component->Name())) Apply(component, element);
    // By index into the live list: a load handler may free or add components
    // while the tree is read, and no freed one must be reached.
    for (int i = 0; i < component->ComponentCount(); ++i) ReadTree(component->Components(i), depth + 1);
}

// ---------------------------------------------------------------------------
// Controllers

ZB_PUBLISHED(TLanguageController){
    prop::Bool("Active", &TLanguageController::Active, &TLanguageController::SetActive),
    prop::Class("ExcludeControls", &TLanguageController::ExcludeControls, &TLanguageController::SetExcludeControls),
    prop::Event("BeforeOpen", &TLanguageController::BeforeOpen),
    prop::Event("AfterOpen", &TLanguageController::AfterOpen),
    prop::Event("BeforeClose", &TLanguageController::BeforeClose),
    prop::Event("AfterClose", &TLanguageController::AfterClose),
    prop::Event("BeforeLoadComponent", &TLanguageController::BeforeLoadComponent, "TLoadComponentEvent"),
    prop::Event("AfterLoadComponent", &TLanguageController::AfterLoadComponent, "TLoadComponentEvent"),
};

TLanguageController::TLanguageController(TComponent* owner)
    : TComponent(owner), exclude_(std::make_unique<TStringList>()) {
    exclude_->OnChange = Handler<&TLanguageController::ExcludeChanged>(this);
}

TLanguageController::~TLanguageController() = default;

void TLanguageController::SetFileName(const std::string& fileName) {
    if (fileName == fileName_) return;
    SetActive(false);
    fileName_ = fileName;
}

bool TLanguageController::Active() const { return document_ && !document_->DocumentElement().IsNull(); }

void TLanguageController::SetActive(bool active) {
    if (IsLoading()) {
        streamedActive_ = active;
        return;
    }
    if (active == Active()) return;
    if (active)
        Open();
    else
        Close();
}

void TLanguageController::Loaded() {
    if (!streamedActive_) return;
    streamedActive_ = false;
    SetActive(true);
}

void TLanguageController::Open() {
    BeforeOpen(this);
    reader_.reset();
    document_.reset();
    if (fileName_.empty()) throw LanguageControllerError("Cannot Find File " + fileName_ + "!");
    XmlDocument doc;
    if (!doc.Load(fileName_)) throw LanguageControllerError(doc.ParseErrorReason());
    document_ = doc;
    reader_ = std::make_unique<TLangReader>(*document_);
    reader_->SetExcludeControls(*exclude_);
    reader_->BeforeLoadComponent = BeforeLoadComponent;
    reader_->AfterLoadComponent = AfterLoadComponent;
    AfterOpen(this);
}

void TLanguageController::Close() {
    BeforeClose(this);
    reader_.reset();
    document_.reset();
    AfterClose(this);
}

TLangReader& TLanguageController::Reader() const {
    if (!Active() || !reader_) throw LanguageControllerError("No active LanguageController!");
    return *reader_;
}

void TLanguageController::SetExcludeControls(TStrings* names) {
    if (names)
        exclude_->Assign(names);
    else
        exclude_->Clear();
}

void TLanguageController::ExcludeChanged(TObject*) {
    if (reader_) reader_->SetExcludeControls(*exclude_);
}

ZB_PUBLISHED(TZbLangController){
    prop::String("LangPackageName", &TZbLangController::LangPackageName, &TZbLangController::SetLangPackageName),
    prop::Enum("DesignType", &TZbLangController::DesignType, &TZbLangController::SetDesignType, DesignTypeNames,
               "TDesignType"),
};

TZbLangController::TZbLangController(TComponent* owner) : TLanguageController(owner) {}

void TZbLangController::SetLangPackageName(const std::string& name) {
    packageName_ = name;
    SetFileName(LanguageFolder(designType_) + name + ".Lng");
}

void ApplyLanguageFiles(TZbLangController& controller, TComponent& form) {
    static const char* const kLibraryBases[] = {"TForm", "TCustomForm", "TDataModule", "TComponent"};
    std::vector<std::string> chain = form.ClassType().AncestorNames();
    auto base = std::find_if(chain.begin(), chain.end(), [](const std::string& name) {
        return std::any_of(std::begin(kLibraryBases), std::end(kLibraryBases),
                           [&](const char* b) { return SameText(name, b); });
    });
    chain.erase(base, chain.end());
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        controller.SetLangPackageName(*it);
        if (!FileExists(controller.FileName())) continue;
        controller.SetActive(true);
        controller.Reader().ReadComponent(&form);
    }
}

// ---------------------------------------------------------------------------
// Language folder and messages

namespace {

// The configuration readers: the client's or the application server's
// installation folder and user-interface code page.
TLangProfile ConfiguredLangProfile(TDesignType type) {
    if (type == TDesignType::dtServer) {
        TOrkelIniS s;
        return TLangProfile{s.ServerPath, s.UICodePage};
    }
    TOrkelIniC c;
    return TLangProfile{c.ClientPath, c.UICodePage};
}

struct ProfileSource {
    std::mutex mutex;
    TLangProfileSource source = ConfiguredLangProfile;
};

ProfileSource& Profiles() {
    static ProfileSource s;
    return s;
}

}  // namespace

TLangProfileSource SetLangProfileSource(TLangProfileSource source) {
    ProfileSource& s = Profiles();
    std::lock_guard lock(s.mutex);
    std::swap(s.source, source);
    return source;
}

std::string LanguageFolder(std::string_view basePath, std::string_view uiCodePage) {
    const std::string page = Trim(uiCodePage);
    const char* code = page == "936" ? "CHS" : page == "950" ? "CHT" : page == "437" ? "ENG" : nullptr;
    if (!code) return "";
    std::string folder = basePath.empty() ? std::string() : IncludeTrailingPathDelimiter(basePath);
    folder += "MultiLanguage/";
    folder += code;
    folder += "/";
    return DirectoryExists(folder) ? folder : "";
}

std::string LanguageFolder(TDesignType designType) {
    TLangProfileSource source;
    {
        ProfileSource& s = Profiles();
        std::lock_guard lock(s.mutex);
        source = s.source;
    }
    if (!source) return "";
    const TLangProfile profile = source(designType);
    return LanguageFolder(profile.BasePath, profile.UICodePage);
}

std::string ReadLangMsg(const XmlDocument& document, const std::string& msgName, const std::string& defaultText) {
    // The name goes into an XPath expression: anything but an element name
    // would change what the expression asks for.
    if (!IsXmlName(msgName) || msgName.find(':') != std::string::npos) return defaultText;
    const XmlNode root = document.DocumentElement();
    if (root.IsNull()) return defaultText;
    const XmlNode node = root.SelectSingleNode("//" + msgName + "/@Msg");
    if (node.IsNull()) return defaultText;
    return node.NodeType() == XmlNodeType::Attribute ? node.Text() : std::string();
}

std::string ReadLangMsg(TDesignType designType, const std::string& fileBase, const std::string& msgName,
                        const std::string& defaultText) {
    const std::string file = LanguageFolder(designType) + fileBase + ".Lng";
    if (!FileExists(file)) return defaultText;
    XmlDocument doc;
    if (!doc.Load(file)) return defaultText;
    return ReadLangMsg(doc, msgName, defaultText);
}

}  // namespace zb
