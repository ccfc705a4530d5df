// Objects whose sub-objects a property path names by index, as language
// files do with "Items_3" or "Columns_0.Caption": collections (their items),
// list views (columns and items), list-item lists (themselves) and tree views
// (nodes). The class implements this next to its class-library base.
#pragma once

#include <optional>
#include <string_view>

namespace zb {

class TObject;

class IPathItems {
public:
    // What "<list>_<index>" reaches from this object, `list` being "Items" or
    // "Columns" in any case: the sub-object; this object itself when it stands
    // for the list (list items); null when the index is outside the list; no
    // value when the object has no such list, so the path takes the published
    // property of that name instead.
    virtual std::optional<TObject*> PathItem(std::string_view list, int index) = 0;

protected:
    ~IPathItems() = default;
};

}  // namespace zb
