#include "view/wording.h"

namespace view {
namespace {

std::string Captioned(const std::string& entry, const std::string& reason) {
  return reason.empty() ? entry : entry + "（" + reason + "）";
}

}  // namespace

bool SpeechUsable(SpeechStatus status) {
  return status != SpeechStatus::NoEngine && status != SpeechStatus::NoEnglishVoice;
}

std::string SpeechReason(SpeechStatus status) {
  switch (status) {
    case SpeechStatus::Starting:
      return kSpeechStarting;
    case SpeechStatus::NoEngine:
      return "未安装语音引擎";
    case SpeechStatus::NoEnglishVoice:
      return "未安装英语语音";
    default:
      return {};
  }
}

SpeechCaptions SpeechEntryCaptions(SpeechStatus status) {
  const std::string reason = SpeechReason(status);
  SpeechCaptions captions;
  // A usable entry names its key, and says so while the engine starts; a disabled one says
  // why instead.
  if (status == SpeechStatus::Failed)
    captions.speak = "朗读 (F2)（语音引擎出错，再试一次）";
  else
    captions.speak = Captioned(SpeechUsable(status) ? "朗读 (F2)" : "朗读", reason);
  captions.auto_speak = Captioned("自动朗读", reason);
  captions.voices = Captioned("语音", reason);
  return captions;
}

std::string FailureMessage(const std::string& what) {
  return "程序出错，无法继续运行，即将退出。\r\n" + what;
}

}  // namespace view
