#include "platform/phonetic_readings_win.h"

#include <imm.h>
#include <oleauto.h>

#include <vector>

#include "platform/wide_win.h"

namespace tavi {

// The phonetic side of msime.h, which the mingw headers lack; the order of
// the methods is the interface's.
struct MORRSLT;
struct IFELanguage : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Open() = 0;
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetJMorphResult(DWORD request, DWORD mode, INT count, const WCHAR* input,
                                                      DWORD* info, MORRSLT** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetConversionModeCaps(DWORD* caps) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPhonetic(BSTR text, LONG start, LONG length, BSTR* phonetic) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetConversion(BSTR text, LONG start, LONG length, BSTR* result) = 0;
};

namespace {

constexpr IID kIidLanguage = {0x019F7152, 0xE6DB, 0x11D0, {0x83, 0xC3, 0x00, 0xC0, 0x4F, 0xDD, 0xB8, 0x2E}};
// A word every Japanese input method reads; its answer tells whether one is there.
constexpr wchar_t kProbe[] = L"\u6f22\u5b57";  // 漢字

// Readings longer than this are no reading of a title.
constexpr size_t kLongest = 512;

}  // namespace

Win32PhoneticReadings::~Win32PhoneticReadings() {
    if (!language_) return;
    if (languageOpen_) language_->Close();
    language_->Release();
}

bool Win32PhoneticReadings::Available() {
    if (available_ >= 0) return available_ == 1;
    available_ = 0;
    CLSID id{};
    if (SUCCEEDED(CLSIDFromProgID(L"MSIME.Japan", &id)) &&
        SUCCEEDED(CoCreateInstance(id, nullptr, CLSCTX_SERVER, kIidLanguage, reinterpret_cast<void**>(&language_))) &&
        language_) {
        languageOpen_ = SUCCEEDED(language_->Open());
        if (!languageOpen_ || FromLanguage(kProbe).empty()) {
            if (languageOpen_) language_->Close();
            language_->Release();
            language_ = nullptr;
            languageOpen_ = false;
        }
    }
    if (!language_) {
        HKL layouts[64];
        const int count = GetKeyboardLayoutList(64, layouts);
        for (int i = 0; i < count && !japaneseIme_; ++i) {
            const auto language = static_cast<WORD>(reinterpret_cast<UINT_PTR>(layouts[i]) & 0xFFFF);
            if (PRIMARYLANGID(language) == LANG_JAPANESE && ImmIsIME(layouts[i])) japaneseIme_ = layouts[i];
        }
        if (japaneseIme_ && FromImm(kProbe).empty()) japaneseIme_ = nullptr;
    }
    available_ = language_ || japaneseIme_ ? 1 : 0;
    return available_ == 1;
}

std::string Win32PhoneticReadings::ReadingOf(const std::string& text) {
    if (text.empty() || !Available()) return {};
    const std::wstring wide = Widen(text);
    const std::wstring reading = language_ ? FromLanguage(wide) : FromImm(wide);
    return reading.size() > kLongest ? std::string() : Narrow(reading);
}

std::wstring Win32PhoneticReadings::FromLanguage(const std::wstring& text) {
    BSTR input = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!input) return {};
    BSTR output = nullptr;
    std::wstring reading;
    if (SUCCEEDED(language_->GetPhonetic(input, 1, -1, &output)) && output)
        reading.assign(output, SysStringLen(output));
    if (output) SysFreeString(output);
    SysFreeString(input);
    return reading;
}

std::wstring Win32PhoneticReadings::FromImm(const std::wstring& text) {
    const DWORD bytes = ImmGetConversionListW(japaneseIme_, nullptr, text.c_str(), nullptr, 0, GCL_REVERSECONVERSION);
    if (bytes < sizeof(CANDIDATELIST) || bytes > (1u << 20)) return {};
    std::vector<BYTE> buffer(bytes);
    auto* list = reinterpret_cast<CANDIDATELIST*>(buffer.data());
    if (ImmGetConversionListW(japaneseIme_, nullptr, text.c_str(), list, bytes, GCL_REVERSECONVERSION) == 0 ||
        list->dwCount == 0 || list->dwOffset[0] >= bytes)
        return {};
    // The first candidate, bounded by the buffer whatever the list claims.
    const auto* first = reinterpret_cast<const wchar_t*>(buffer.data() + list->dwOffset[0]);
    const size_t room = (bytes - list->dwOffset[0]) / sizeof(wchar_t);
    size_t length = 0;
    while (length < room && first[length] != L'\0') ++length;
    return std::wstring(first, length);
}

}  // namespace tavi
