#include "tools/render/audio_source.h"
#include "tools/render/grid_writer.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace kit::render
{
namespace
{

namespace fs = std::filesystem;

class GridWriterTest : public testing::Test
{
protected:
  void SetUp() override
  {
    folder = fs::temp_directory_path() / ("ombrix-grid-writer-" + std::to_string(::getpid()) + "-" +
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

// Stereo grid values for the given codes.
std::vector<double> GridSamples(int bits, const std::vector<std::int64_t>& codes)
{
  std::vector<double> samples;
  for (const std::int64_t code : codes) samples.push_back(std::ldexp(double(code), -(bits - 1)));
  return samples;
}

// Creates, writes in two parts, and commits; false with the reason of the first failure.
bool WriteGridFile(const std::string& path, const std::vector<double>& samples, int bits, std::int64_t& clamped,
                   std::string& error)
{
  std::unique_ptr<GridWriter> writer = GridWriter::Create(path, bits, 2, 44100.0, error);
  if (!writer) return false;
  const std::int64_t frames = std::int64_t(samples.size() / 2);
  const std::int64_t firstPart = frames / 2;
  const bool done = writer->Write(samples.data(), firstPart, error) &&
                    writer->Write(samples.data() + 2 * firstPart, frames - firstPart, error) && writer->Commit(error);
  clamped = writer->Clamped();
  return done;
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

TEST_F(GridWriterTest, WritesExactIntegerCodesForEveryDepthAndFormat)
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

TEST_F(GridWriterTest, ClampsBeyondFullScaleAndCountsIt)
{
  std::int64_t clamped = 0;
  std::string error;
  const std::vector<double> audio = GridSamples(16, { 32767, 32768, -32768, -32770, 40000, 0 });
  ASSERT_TRUE(WriteGridFile(Path("clamped.wav"), audio, 16, clamped, error)) << error;
  EXPECT_EQ(clamped, 3);
  SF_INFO info {};
  const std::vector<int> read = ReadInts(Path("clamped.wav"), info);
  const std::int64_t expected[] = { 32767, 32767, -32768, -32768, 32767, 0 };
  for (std::size_t i = 0; i < read.size(); ++i) EXPECT_EQ(read[i] >> 16, expected[i]);
}

TEST_F(GridWriterTest, FailuresLeaveNoFileAndKeepAnExistingOne)
{
  {
    std::ofstream existing(Path("keep.wav"));
    existing << "earlier result";
  }
  struct Case
  {
    const char* name;
    std::vector<double> audio;
    int bits;
    const char* messagePart;
  };
  std::vector<double> offGrid = GridSamples(16, { 1, 2, 3, 4 });
  offGrid[3] += 1e-9;
  const Case cases[] = {
    { "keep.wav", offGrid, 16, "off the 16-bit grid" },
    { "keep.flac", GridSamples(32, { 1, 2 }), 32, "FLAC holds at most 24 bits" },
    { "keep.mp3", GridSamples(16, { 1, 2 }), 16, "cannot tell the format" },
    { "missing/folder/out.wav", GridSamples(16, { 1, 2 }), 16, "cannot write" },
    { "new.wav", offGrid, 16, "off the 16-bit grid (frame 1)" },
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

TEST_F(GridWriterTest, FilesAreReadBlockByBlockAsMonoOrStereoOnly)
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

    std::string error;
    std::unique_ptr<AudioSource> source = OpenAudioFile(path, error);
    if (channels > 2)
    {
      EXPECT_EQ(source, nullptr);
      EXPECT_NE(error.find("3 channels"), std::string::npos) << error;
      continue;
    }
    ASSERT_NE(source, nullptr) << error;
    EXPECT_EQ(source->Channels(), channels);
    EXPECT_EQ(source->SampleRate(), 96000.0);
    EXPECT_EQ(source->Frames(), 10);
    // Room for every frame asked for, as Read may fill the whole buffer.
    std::vector<double> read(std::size_t(104 * channels));
    EXPECT_EQ(source->Read(read.data(), 4), 4);
    EXPECT_EQ(source->Read(read.data() + 4 * channels, 100), 6);
    std::vector<double> atEnd(std::size_t(100 * channels));
    EXPECT_EQ(source->Read(atEnd.data(), 100), 0);
    for (std::size_t i = 0; i < samples.size(); ++i) EXPECT_EQ(read[i], double(samples[i]));
  }
  std::string error;
  EXPECT_EQ(OpenAudioFile(Path("absent.wav"), error), nullptr);
  EXPECT_NE(error.find("cannot read"), std::string::npos);
}

TEST(DemoProgramme, IsTenSecondsOfStereoWithAQuietPassageAndSilenceAtTheEnd)
{
  std::unique_ptr<AudioSource> demo = DemoProgramme();
  ASSERT_EQ(demo->Channels(), 2);
  ASSERT_EQ(demo->SampleRate(), 48000.0);
  ASSERT_EQ(demo->Frames(), 480000);
  std::vector<double> samples(std::size_t(demo->Frames() * 2));
  std::int64_t read = 0;
  for (std::int64_t got = 0; (got = demo->Read(samples.data() + 2 * read, 4096)) > 0;) read += got;
  EXPECT_EQ(read, 480000);
  const auto peak = [&](int firstSecond, int lastSecond)
  {
    double level = 0.0;
    for (std::size_t i = std::size_t(firstSecond) * 96000; i < std::size_t(lastSecond) * 96000; ++i)
      level = std::max(level, std::abs(samples[i]));
    return level;
  };
  EXPECT_GT(peak(0, 1), 0.1);
  EXPECT_LT(peak(0, 5), 1.0);
  EXPECT_GT(peak(5, 8), 0.0005); // around -60 dBFS
  EXPECT_LT(peak(5, 8), 0.002);
  EXPECT_EQ(peak(8, 10), 0.0);
}

} // namespace
} // namespace kit::render
