#include "audio/voice_pool.h"

#include "audio/audio_device.h"

void VoicePool::Create() {
  while (count_ < kVoiceCount) {
    ALuint source = 0;
    alTable.alGetError();  // an error left by an earlier call is not this one's
    alTable.alGenSources(1, &source);
    if (!AlOk() || source == 0) break;
    alTable.alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alTable.alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
    alTable.alSourcef(source, AL_PITCH, 1.0f);
    voices_[count_++] = Voice{source};
  }
}

void VoicePool::Release() {
  for (int32_t i = 0; i < count_; ++i) {
    alTable.alSourceStop(voices_[i].source);
    alTable.alDeleteSources(1, &voices_[i].source);
    voices_[i] = Voice{};
  }
  count_ = 0;
}

uint32_t VoicePool::Take(int32_t sound, SoundPriority priority) {
  bool playing[kVoiceCount] = {};
  int32_t copies = 0;
  Voice* oldestCopy = nullptr;
  for (int32_t i = 0; i < count_; ++i) {
    ALint state = AL_STOPPED;
    alTable.alGetSourcei(voices_[i].source, AL_SOURCE_STATE, &state);
    playing[i] = state == AL_PLAYING;
    if (!playing[i] || voices_[i].sound != sound) continue;
    ++copies;
    if (!oldestCopy || voices_[i].started < oldestCopy->started) oldestCopy = &voices_[i];
  }

  Voice* chosen = copies >= kVoicesPerSound ? oldestCopy : nullptr;
  for (int32_t i = 0; i < count_ && !chosen; ++i) {
    if (!playing[i]) chosen = &voices_[i];
  }
  if (!chosen) {
    for (int32_t i = 0; i < count_; ++i) {
      if (voices_[i].priority > priority) continue;
      if (!chosen || voices_[i].started < chosen->started) chosen = &voices_[i];
    }
  }
  if (!chosen) return 0;
  chosen->sound = sound;
  chosen->priority = priority;
  chosen->started = ++takes_;
  return chosen->source;
}

void VoicePool::PausePlaying() {
  for (int32_t i = 0; i < count_; ++i) {
    ALint state = AL_STOPPED;
    alTable.alGetSourcei(voices_[i].source, AL_SOURCE_STATE, &state);
    voices_[i].paused = state == AL_PLAYING;
    if (voices_[i].paused) alTable.alSourcePause(voices_[i].source);
  }
}

void VoicePool::ResumePaused() {
  for (int32_t i = 0; i < count_; ++i) {
    if (voices_[i].paused) alTable.alSourcePlay(voices_[i].source);
    voices_[i].paused = false;
  }
}
