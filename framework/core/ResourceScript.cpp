#include "framework/core/ResourceScript.h"

bool ResourceSet::AddScript(std::string_view fileName, std::string_view, const ResourceFileLoader&, std::string& error)
{
    error = std::string(fileName) + ": resource scripts are not read yet";
    return false;
}

namespace {
template <typename Map>
const typename Map::mapped_type* FindIn(const Map& map, UINT id)
{
    const auto it = map.find(id);
    return it == map.end() ? nullptr : &it->second;
}
} // namespace

const std::string* ResourceSet::FindString(UINT id) const { return FindIn(m_strings, id); }
const DialogTemplate* ResourceSet::FindDialog(UINT id) const { return FindIn(m_dialogs, id); }
const MenuTemplate* ResourceSet::FindMenu(UINT id) const { return FindIn(m_menus, id); }
const std::vector<std::uint8_t>* ResourceSet::FindBitmap(UINT id) const { return FindIn(m_bitmaps, id); }
const std::vector<std::uint8_t>* ResourceSet::FindCursor(UINT id) const { return FindIn(m_cursors, id); }
