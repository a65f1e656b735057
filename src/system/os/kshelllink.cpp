// Shell links (.lnk files) written through the shell's IShellLinkW.
#include <shlobj.h>
#include "kservices.h"

// Sets the link's fields and saves it; returns the first failure or the save's result.
static HRESULT WriteLink(IShellLinkW* link, const wchar_t* target, const wchar_t* linkFile,
                         const wchar_t* description, const wchar_t* arguments)
{
    HRESULT hr = link->SetPath(target);
    if (SUCCEEDED(hr))
        hr = link->SetDescription(description);
    if (SUCCEEDED(hr))
        hr = link->SetArguments(arguments);
    if (SUCCEEDED(hr))
        hr = link->SetShowCmd(SW_SHOWMAXIMIZED);
    if (FAILED(hr))
        return hr;
    IPersistFile* file = nullptr;
    hr = link->QueryInterface(IID_IPersistFile, (void**)&file);
    if (FAILED(hr))
        return hr;
    hr = file->Save(linkFile, TRUE);
    file->Release();
    return hr;
}

HRESULT CreateLink(const wchar_t* target, const wchar_t* linkFile, const wchar_t* description,
                   const wchar_t* arguments)
{
    // Balanced by CoUninitialize below whether it initialised COM or found
    // it initialised already (S_FALSE).
    HRESULT hr = CoInitialize(nullptr);
    if (FAILED(hr))
        return hr;
    IShellLinkW* link = nullptr;
    hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                          (void**)&link);
    if (SUCCEEDED(hr)) {
        hr = WriteLink(link, target, linkFile, description ? description : L"",
                       arguments ? arguments : L"");
        link->Release();
    }
    CoUninitialize();
    return hr;
}
