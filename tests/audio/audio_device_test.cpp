#include "audio/audio_device.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/asset_directory.h"
#include "platform/console_log.h"
#include "support/recording_al.h"
#include "support/temp_dir.h"

using Calls = std::vector<std::string>;

namespace {

class AudioDeviceTest : public testing::Test {
 protected:
  AudioDeviceTest() {
    StartAssetDirectoryAt(dir.withSlash().c_str());
    StartConsoleLog();
    SetAlLibraryAccess(al.LibraryAccess());
  }
  ~AudioDeviceTest() override {
    StopAudio();
    UseSystemAlLibraryAccess();
    StopConsoleLog();
    StopAssetDirectory();
  }

  std::string Log() const { return dir.ReadFile("conlog.txt"); }

  TempDir dir;
  RecordingAl al;
};

const Calls kPreferredOpens = {
    "alcOpenDevice(Creative Audigy 2)", "alcOpenDevice(Creative Audigy)",
    "alcOpenDevice(NVIDIA nForce2)",    "alcOpenDevice(DirectSound3D)",
    "alcOpenDevice(DirectSound)",       "alcOpenDevice(MMSYSTEM)",
};

TEST_F(AudioDeviceTest, StartsTheDefaultDeviceWhenNoPreferredOneExists) {
  ASSERT_TRUE(StartAudio());
  Calls expected = {"open(libopenal.so.1)"};
  expected.insert(expected.end(), kPreferredOpens.begin(), kPreferredOpens.end());
  expected.insert(expected.end(), {
                                      "alcOpenDevice(null)",
                                      "alcCreateContext(ALC_FREQUENCY, 44100, 0)",
                                      "alcMakeContextCurrent(context)",
                                      "alGetString(AL_RENDERER)",
                                      "alGetString(AL_VENDOR)",
                                      "alGetString(AL_VERSION)",
                                      "alGetString(AL_EXTENSIONS)",
                                      "alIsExtensionPresent(EAX4.0)",
                                      "alIsExtensionPresent(EAX3.0)",
                                      "alIsExtensionPresent(EAX2.0)",
                                      "alIsExtensionPresent(AL_EXT_vorbis)",
                                      "alListener3f(AL_POSITION, 0, 0, 0)",
                                      "alListenerfv(AL_ORIENTATION, 0, 0, -1, 0, 1, 0)",
                                  });
  EXPECT_EQ(al.Calls(), expected);
  EXPECT_EQ(Log(),
            "loading library: libopenal.so.1... Success!\n"
            "Recording Renderer\nRecording Vendor\n1.1 Recording\n\n"
            "EAX not present.  Using fallback.\n"
            "AL_EXT_vorbis not present.  Using fallback.\n");

  al.ClearCalls();
  StopAudio();
  EXPECT_EQ(al.Calls(), (Calls{"alcDestroyContext()", "alcCloseDevice()", "close"}));
  EXPECT_EQ(alTable.library, nullptr);
  EXPECT_EQ(alTable.alGenSources, nullptr);
}

TEST_F(AudioDeviceTest, OpensTheFirstPreferredDeviceThatExists) {
  al.SetDevices({"DirectSound3D", "Creative Audigy 2", "DirectSound"});
  ASSERT_TRUE(StartAudio());
  EXPECT_EQ(al.CallsTo("alcOpenDevice"), (Calls{"alcOpenDevice(Creative Audigy 2)"}));

  StopAudio();
  al.ClearCalls();
  al.SetDevices({"DirectSound", "DirectSound3D"});
  ASSERT_TRUE(StartAudio());
  EXPECT_EQ(al.CallsTo("alcOpenDevice"),
            Calls(kPreferredOpens.begin(), kPreferredOpens.begin() + 4));
}

TEST_F(AudioDeviceTest, LogsOnlyTheHighestEaxVersionAndTheVorbisExtension) {
  al.SetExtensions({"EAX2.0", "EAX3.0", "AL_EXT_vorbis"});
  ASSERT_TRUE(StartAudio());
  EXPECT_EQ(Log(),
            "loading library: libopenal.so.1... Success!\n"
            "Recording Renderer\nRecording Vendor\n1.1 Recording\n"
            "AL_EXT_vorbis EAX2.0 EAX3.0\n"
            "EAX 3.0 Found!\n"
            "AL_EXT_vorbis Found!\n");
  StopAudio();

  StartConsoleLog();
  al.SetExtensions({"EAX4.0", "EAX2.0"});
  ASSERT_TRUE(StartAudio());
  EXPECT_NE(Log().find("\nEAX 4.0 Found!\nAL_EXT_vorbis not present.  Using fallback.\n"),
            std::string::npos);
}

TEST_F(AudioDeviceTest, AMissingLibraryFailsWithALogLine) {
  al.SetLibraryPresent(false);
  EXPECT_FALSE(StartAudio());
  EXPECT_EQ(Log(), "loading library: libopenal.so.1... Failed\n");
  al.ClearCalls();
  StopAudio();
  EXPECT_TRUE(al.Calls().empty()) << "nothing was acquired";
}

TEST_F(AudioDeviceTest, FailuresAfterTheLibraryReleaseOnlyWhatWasAcquired) {
  al.SetDefaultDevice(false);
  EXPECT_FALSE(StartAudio());
  al.ClearCalls();
  StopAudio();
  EXPECT_EQ(al.Calls(), (Calls{"close"}));

  al.SetDefaultDevice(true);
  al.SetContextFails(true);
  EXPECT_FALSE(StartAudio());
  EXPECT_EQ(Log(), "loading library: libopenal.so.1... Success!\n"
                   "loading library: libopenal.so.1... Success!\n")
      << "no driver lines without a context";
  al.ClearCalls();
  StopAudio();
  EXPECT_EQ(al.Calls(), (Calls{"alcCloseDevice()", "close"}));
}

TEST_F(AudioDeviceTest, UnloadClearsEveryEntryAndIsSafeTwice) {
  ASSERT_TRUE(LoadAlTable("libopenal.so.1"));
  EXPECT_NE(alTable.alSourcePlay, nullptr);
  EXPECT_EQ(alTable.alDopplerFactor, nullptr) << "a name the library lacks stays empty";
  UnloadAlTable();
  UnloadAlTable();
  EXPECT_EQ(al.Calls(), (Calls{"open(libopenal.so.1)", "close"}));
  const AlTable empty;
  EXPECT_EQ(std::memcmp(&alTable, &empty, sizeof empty), 0);
}

TEST_F(AudioDeviceTest, AlOkReadsAndClearsTheErrorFlag) {
  al.FailCall("alSourcePlay", AL_INVALID_NAME);
  EXPECT_TRUE(AlOk());
  alTable.alSourcePlay(7);
  EXPECT_FALSE(AlOk());
  EXPECT_TRUE(AlOk());
}

}  // namespace
