#include "platform/win32/xmllite_files.h"

#include <windows.h>

#include <objidl.h>
#include <shlwapi.h>
#include <xmllite.h>

#include "platform/win32/system_library.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

namespace {

// One node's local name or value as UTF-8.
std::string LocalName(IXmlReader* reader) {
  const wchar_t* name = nullptr;
  UINT length = 0;
  if (FAILED(reader->GetLocalName(&name, &length))) return {};
  return Narrow(std::wstring_view(name, length));
}

std::string Value(IXmlReader* reader) {
  const wchar_t* value = nullptr;
  UINT length = 0;
  if (FAILED(reader->GetValue(&value, &length))) return {};
  return Narrow(std::wstring_view(value, length));
}

}  // namespace

std::optional<std::string> XmlLiteFiles::ElementText(const std::string& path,
                                                     const std::string& root,
                                                     const std::string& child) {
  // XmlLite ships with Windows but mingw-w64 has no import library for it;
  // it is not a known DLL, so it is taken from the system folder by name.
  Module xmllite = LoadSystemLibrary(L"xmllite.dll");
  auto create =
      EntryPoint<HRESULT WINAPI(REFIID, void**, IMalloc*)>(xmllite.get(), "CreateXmlReader");
  if (!create) return std::nullopt;

  IStream* rawStream = nullptr;
  if (FAILED(SHCreateStreamOnFileW(Widen(path).c_str(), STGM_READ | STGM_SHARE_DENY_WRITE,
                                   &rawStream)))
    return std::nullopt;
  ComPointer<IStream> stream(rawStream);
  IXmlReader* rawReader = nullptr;
  if (FAILED(create(__uuidof(IXmlReader), reinterpret_cast<void**>(&rawReader), nullptr)))
    return std::nullopt;
  ComPointer<IXmlReader> reader(rawReader);
  // No document type definitions: nothing in the file reaches outside it.
  reader.get()->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
  if (FAILED(reader.get()->SetInput(stream.get()))) return std::nullopt;

  bool inside = false;  // within the wanted element
  std::string text;
  XmlNodeType type;
  while (reader.get()->Read(&type) == S_OK) {
    UINT depth = 0;
    reader.get()->GetDepth(&depth);
    if (type == XmlNodeType_Element && depth == 0 && LocalName(reader.get()) != root)
      return std::nullopt;
    if (type == XmlNodeType_Element && depth == 1 && !inside && LocalName(reader.get()) == child) {
      if (reader.get()->IsEmptyElement()) return std::string();
      inside = true;
    } else if (inside && depth == 2 &&
               (type == XmlNodeType_Text || type == XmlNodeType_CDATA ||
                type == XmlNodeType_Whitespace)) {
      text += Value(reader.get());
    } else if (inside && type == XmlNodeType_EndElement && depth == 1) {
      return text;
    }
  }
  return std::nullopt;  // no such element, or the file isn't well-formed
}

}  // namespace orvane::win32
