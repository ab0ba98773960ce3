#include "framework/core/Resources.h"

#include "framework/core/ModuleInstance.h"
#include "framework/core/Utf8Text.h"

#include <cstring>
#include <memory>

namespace {

HINSTANCE g_resourceHandle = nullptr;

const ResourceSet* ResourcesOf(HINSTANCE module)
{
    return module ? &module->Resources() : nullptr;
}

const std::string* FindText(HINSTANCE module, UINT id)
{
    const ResourceSet* resources = ResourcesOf(module);
    return resources ? resources->FindString(id) : nullptr;
}

} // namespace

HINSTANCE AfxGetResourceHandle()
{
    return g_resourceHandle;
}

void AfxSetResourceHandle(HINSTANCE module)
{
    g_resourceHandle = module;
}

int LoadString(HINSTANCE module, UINT id, LPSTR buffer, int size)
{
    if (!buffer || size <= 0)
        return 0;
    const std::string* text = FindText(module, id);
    if (!text) {
        buffer[0] = '\0';
        return 0;
    }
    return CopyUtf8ToBuffer(*text, buffer, size);
}

BOOL CString::LoadString(UINT id)
{
    const std::string* text = FindText(AfxGetResourceHandle(), id);
    if (!text) {
        Empty();
        return FALSE;
    }
    *this = CString(*text);
    return TRUE;
}

void AfxFormatStrings(CString& result, LPCSTR text, const char* const* strings, int count)
{
    std::string out;
    const std::string_view source = text ? text : "";
    for (std::size_t i = 0; i < source.size(); ++i) {
        const char next = i + 1 < source.size() ? source[i + 1] : '\0';
        if (source[i] == '%' && next >= '1' && next <= '9') {
            const int index = next - '1';
            if (index < count && strings && strings[index])
                out += strings[index];
            ++i;
            continue;
        }
        out += source[i];
    }
    result = CString(std::move(out));
}

void AfxFormatStrings(CString& result, UINT id, const char* const* strings, int count)
{
    const std::string* text = FindText(AfxGetResourceHandle(), id);
    AfxFormatStrings(result, text ? text->c_str() : "", strings, count);
}

void AfxFormatString1(CString& result, UINT id, LPCSTR string1)
{
    const char* const strings[] = {string1};
    AfxFormatStrings(result, id, strings, 1);
}

void AfxFormatString2(CString& result, UINT id, LPCSTR string1, LPCSTR string2)
{
    const char* const strings[] = {string1, string2};
    AfxFormatStrings(result, id, strings, 2);
}

const DialogTemplate* FindDialogTemplate(HINSTANCE module, UINT id)
{
    const ResourceSet* resources = ResourcesOf(module);
    return resources ? resources->FindDialog(id) : nullptr;
}

const MenuTemplate* FindMenuTemplate(HINSTANCE module, UINT id)
{
    const ResourceSet* resources = ResourcesOf(module);
    return resources ? resources->FindMenu(id) : nullptr;
}

const std::vector<std::uint8_t>* FindBitmapResource(HINSTANCE module, UINT id)
{
    const ResourceSet* resources = ResourcesOf(module);
    return resources ? resources->FindBitmap(id) : nullptr;
}

const std::vector<std::uint8_t>* FindCursorResource(HINSTANCE module, UINT id)
{
    const ResourceSet* resources = ResourcesOf(module);
    return resources ? resources->FindCursor(id) : nullptr;
}

const std::vector<std::uint8_t>* FindIconResource(HINSTANCE module, UINT id)
{
    const ResourceSet* resources = ResourcesOf(module);
    return resources ? resources->FindIcon(id) : nullptr;
}

const std::vector<AccelEntry>* FindAcceleratorTable(HINSTANCE module, UINT id)
{
    const ResourceSet* resources = ResourcesOf(module);
    return resources ? resources->FindAccelerators(id) : nullptr;
}

const ToolBarTemplate* FindToolBarTemplate(HINSTANCE module, UINT id)
{
    const ResourceSet* resources = ResourcesOf(module);
    return resources ? resources->FindToolBar(id) : nullptr;
}

HINSTANCE CreateResourceModule(std::string_view fileName, std::string_view scriptText, const ResourceFileLoader& files,
                               std::string& error)
{
    auto module = std::make_unique<ModuleInstance>();
    module->path = std::string(fileName);
    module->resources.emplace();
    if (!module->resources->AddScript(fileName, scriptText, files, error))
        return nullptr;
    return module.release(); // owned by the caller until FreeLibrary
}
