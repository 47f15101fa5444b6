// Wording that both bindings of the windowing layer show the learner in the same words: the
// speech entries of a window's menu and why they cannot work, and the message that ends the
// program after an unexpected failure. Plain UTF-8, no toolkit.
#pragma once

#include <string>

namespace view {

// Where the speech engine stands, as the menu tells it.
enum class SpeechStatus {
  Idle,            // not started: the first request starts it
  Starting,        // the engine is being opened
  Ready,           // English can be spoken
  NoEngine,        // no engine is installed, or it cannot be reached
  NoEnglishVoice,  // an engine without English
  Failed,          // the engine failed while speaking; the next request opens it again
};

// Whether a request can be made (it may still fail).
bool SpeechUsable(SpeechStatus status);

// Why the speech entries cannot work yet or at all; "" when they can.
std::string SpeechReason(SpeechStatus status);

// The captions of the speech entries as the engine stands: "朗读 (F2)", "自动朗读" and the "语音"
// submenu, each followed by the reason when there is one.
struct SpeechCaptions {
  std::string speak;
  std::string auto_speak;
  std::string voices;
};
SpeechCaptions SpeechEntryCaptions(SpeechStatus status);

// The single greyed line of the "语音" submenu while the engine starts, and its first entry.
inline constexpr char kSpeechStarting[] = "正在启动语音引擎…";
inline constexpr char kDefaultVoice[] = "默认";

// The message that ends the program after a failure it cannot go on from; `what` says which.
std::string FailureMessage(const std::string& what);

}  // namespace view
