#include "win32/media/speech.h"

#include <windows.h>

#include <sapi.h>

#include <utility>

#include "os/os.h"

namespace win32 {

namespace {

constexpr wchar_t kEnglish[] = L"Language=409";
constexpr wchar_t kChinese[] = L"Language=804";

// A COM interface released when it goes.
template <typename T>
class Com {
 public:
  Com() = default;
  explicit Com(T* p) : p_(p) {}
  Com(Com&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  Com& operator=(Com&& other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~Com() {
    if (p_) p_->Release();
  }
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  T** out() { return &p_; }

 private:
  T* p_ = nullptr;
};

struct Voice {
  std::string name;
  Com<ISpObjectToken> token;
};

// The voices of the installed engines whose language is `attributes`, by their names.
std::vector<Voice> VoicesOf(const wchar_t* attributes) {
  std::vector<Voice> voices;
  Com<ISpObjectTokenCategory> category;
  if (FAILED(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL,
                              IID_ISpObjectTokenCategory,
                              reinterpret_cast<void**>(category.out()))) ||
      FAILED(category->SetId(SPCAT_VOICES, FALSE)))
    return voices;
  Com<IEnumSpObjectTokens> tokens;
  if (FAILED(category->EnumTokens(attributes, nullptr, tokens.out())) || !tokens.get())
    return voices;
  for (;;) {
    Voice voice;
    if (tokens->Next(1, voice.token.out(), nullptr) != S_OK) break;
    wchar_t* name = nullptr;
    if (SUCCEEDED(voice.token->GetStringValue(nullptr, &name)) && name) {
      voice.name = os::Utf8(name);
      CoTaskMemFree(name);
    }
    if (!voice.name.empty()) voices.push_back(std::move(voice));
  }
  return voices;
}

}  // namespace

struct Speech::Engine {
  Com<ISpVoice> voice;
  std::vector<Voice> english;
  std::vector<Voice> chinese;
};

Speech::Speech() = default;

Speech::~Speech() {
  if (engine_) engine_->voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
  engine_.reset();
  if (com_started_) CoUninitialize();
}

void Speech::Start() {
  if (engine_ || status_ == Status::NoEngine || status_ == Status::NoEnglishVoice) return;
  Open();
}

void Speech::Open() {
  if (!com_started_) {
    // S_FALSE: this thread had COM already, which still wants a balancing call.
    const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    com_started_ = started == S_OK || started == S_FALSE;
  }
  auto engine = std::make_unique<Engine>();
  if (FAILED(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                              reinterpret_cast<void**>(engine->voice.out()))) ||
      !engine->voice.get())
    return Report(Status::NoEngine);
  engine->english = VoicesOf(kEnglish);
  engine->chinese = VoicesOf(kChinese);
  voices_.clear();
  for (const Voice& v : engine->english) voices_.push_back(v.name);
  if (engine->english.empty()) return Report(Status::NoEnglishVoice);
  engine_ = std::move(engine);
  Report(Status::Ready);
}

void Speech::Say(const std::string& utf8, ui::Language language) {
  Start();
  if (!engine_) return;
  const std::vector<Voice>& voices =
      language == ui::Language::Chinese ? engine_->chinese : engine_->english;
  if (voices.empty()) return;  // never Chinese with an English voice
  const Voice* chosen = &voices.front();
  for (const Voice& v : voices)
    if (language == ui::Language::English && v.name == voice_) chosen = &v;
  const std::wstring wide = os::Wide(utf8);
  if (FAILED(engine_->voice->SetVoice(chosen->token.get())) ||
      FAILED(engine_->voice->Speak(wide.c_str(), SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML,
                                   nullptr))) {
    // The voices found stay listed; the next request makes the engine anew.
    engine_.reset();
    Report(Status::Failed);
  }
}

void Speech::Report(Status status) {
  if (status == status_) return;
  status_ = status;
  if (on_state_changed) on_state_changed();
}

}  // namespace win32
