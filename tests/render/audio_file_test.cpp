#include "tools/render/audio_file.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace kit::render
{
namespace
{

namespace fs = std::filesystem;

class AudioFileTest : public testing::Test
{
protected:
  void SetUp() override
  {
    folder = fs::temp_directory_path() / ("ombrix-audio-file-" + std::to_string(::getpid()) + "-" +
                                          testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  [[nodiscard]] std::string Path(const std::string& name) const { return (folder / name).string(); }
  [[nodiscard]] std::size_t FilesInFolder() const
  {
    return std::size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
  }

  fs::path folder;
};

// Every code of the grid's range that a test wants to see, as grid values.
AudioData GridSamples(int bits, const std::vector<std::int64_t>& codes)
{
  AudioData audio;
  audio.channels = 2;
  audio.sampleRate = 44100.0;
  for (const std::int64_t code : codes) audio.samples.push_back(std::ldexp(double(code), -(bits - 1)));
  return audio;
}

std::vector<int> ReadInts(const std::string& path, SF_INFO& info)
{
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
  if (!file) return {};
  std::vector<int> values(std::size_t(info.frames * info.channels));
  EXPECT_EQ(sf_readf_int(file, values.data(), info.frames), info.frames);
  sf_close(file);
  return values;
}

TEST_F(AudioFileTest, WritesExactIntegerCodesForEveryDepthAndFormat)
{
  struct Case
  {
    int bits;
    const char* name;
    int expectedSubtype;
  };
  const Case cases[] = {
    { 8, "eight.wav", SF_FORMAT_PCM_16 },        { 16, "sixteen.wav", SF_FORMAT_PCM_16 },
    { 16, "sixteen.flac", SF_FORMAT_PCM_16 },    { 20, "twenty.aiff", SF_FORMAT_PCM_24 },
    { 24, "twentyfour.flac", SF_FORMAT_PCM_24 }, { 24, "twentyfour.wav", SF_FORMAT_PCM_24 },
    { 32, "thirtytwo.wav", SF_FORMAT_PCM_32 },   { 32, "thirtytwo.aif", SF_FORMAT_PCM_32 },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    const std::int64_t top = (std::int64_t(1) << (c.bits - 1)) - 1;
    const std::vector<std::int64_t> codes { 0, 1, -1, 2, -2, 12345 % top, -(12345 % top), top, -top - 1, top - 1 };
    std::int64_t clamped = -1;
    std::string error;
    ASSERT_TRUE(WriteGridFile(Path(c.name), GridSamples(c.bits, codes), c.bits, clamped, error)) << error;
    EXPECT_EQ(clamped, 0);
    SF_INFO info {};
    const std::vector<int> read = ReadInts(Path(c.name), info);
    EXPECT_EQ(info.format & SF_FORMAT_SUBMASK, c.expectedSubtype);
    EXPECT_EQ(info.samplerate, 44100);
    ASSERT_EQ(read.size(), codes.size());
    // libsndfile hands integers back left-aligned in 32 bits.
    for (std::size_t i = 0; i < codes.size(); ++i)
      EXPECT_EQ(std::int64_t(read[i]) >> (32 - c.bits), codes[i]) << "sample " << i;
  }
}

TEST_F(AudioFileTest, ClampsBeyondFullScaleAndCountsIt)
{
  std::int64_t clamped = 0;
  std::string error;
  const AudioData audio = GridSamples(16, { 32767, 32768, -32768, -32770, 40000, 0 });
  ASSERT_TRUE(WriteGridFile(Path("clamped.wav"), audio, 16, clamped, error)) << error;
  EXPECT_EQ(clamped, 3);
  SF_INFO info {};
  const std::vector<int> read = ReadInts(Path("clamped.wav"), info);
  const std::int64_t expected[] = { 32767, 32767, -32768, -32768, 32767, 0 };
  for (std::size_t i = 0; i < read.size(); ++i) EXPECT_EQ(read[i] >> 16, expected[i]);
}

TEST_F(AudioFileTest, FailuresLeaveNoFileAndKeepAnExistingOne)
{
  {
    std::ofstream existing(Path("keep.wav"));
    existing << "earlier result";
  }
  struct Case
  {
    const char* name;
    AudioData audio;
    int bits;
    const char* messagePart;
  };
  AudioData offGrid = GridSamples(16, { 1, 2 });
  offGrid.samples[1] += 1e-9;
  const Case cases[] = {
    { "keep.wav", offGrid, 16, "off the 16-bit grid" },
    { "keep.flac", GridSamples(32, { 1, 2 }), 32, "FLAC holds at most 24 bits" },
    { "keep.mp3", GridSamples(16, { 1, 2 }), 16, "cannot tell the format" },
    { "missing/folder/out.wav", GridSamples(16, { 1, 2 }), 16, "cannot write" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    std::int64_t clamped = 0;
    std::string error;
    EXPECT_FALSE(WriteGridFile(Path(c.name), c.audio, c.bits, clamped, error));
    EXPECT_NE(error.find(c.messagePart), std::string::npos) << error;
    EXPECT_EQ(FilesInFolder(), 1u); // only keep.wav, no temporary left behind
  }
  std::ifstream kept(Path("keep.wav"));
  std::string text;
  std::getline(kept, text);
  EXPECT_EQ(text, "earlier result");
}

TEST_F(AudioFileTest, ReadsMonoAndStereoAndRefusesMoreChannels)
{
  for (const int channels : { 1, 2, 3 })
  {
    SCOPED_TRACE(channels);
    const std::string path = Path("in" + std::to_string(channels) + ".wav");
    SF_INFO info {};
    info.channels = channels;
    info.samplerate = 96000;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    std::vector<float> samples(std::size_t(10 * channels));
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = float(i) / 64.0f;
    ASSERT_EQ(sf_writef_float(file, samples.data(), 10), 10);
    sf_close(file);

    AudioData audio;
    std::string error;
    const bool read = ReadAudioFile(path, audio, error);
    EXPECT_EQ(read, channels <= 2);
    if (!read)
    {
      EXPECT_NE(error.find("3 channels"), std::string::npos) << error;
      continue;
    }
    EXPECT_EQ(audio.channels, channels);
    EXPECT_EQ(audio.sampleRate, 96000.0);
    ASSERT_EQ(audio.Frames(), 10);
    for (std::size_t i = 0; i < samples.size(); ++i) EXPECT_EQ(audio.samples[i], double(samples[i]));
  }
  AudioData audio;
  std::string error;
  EXPECT_FALSE(ReadAudioFile(Path("absent.wav"), audio, error));
  EXPECT_NE(error.find("cannot read"), std::string::npos);
}

} // namespace
} // namespace kit::render
