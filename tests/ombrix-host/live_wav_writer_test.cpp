// The output file: every sample arrives exactly, at the rate and channel count asked for, and
// the file is there, readable, as soon as it is closed; a failed run leaves no file behind.
#include "tools/ombrix-host/live_wav_writer.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace kit::live
{
namespace
{

namespace fs = std::filesystem;

class LiveWavWriterTest : public testing::Test
{
protected:
  void SetUp() override
  {
    folder = fs::temp_directory_path() / ("ombrix-host-wav-" + std::to_string(::getpid()) + "-" +
                                          testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }
  [[nodiscard]] std::string Path(const std::string& name) const { return (folder / name).string(); }

  fs::path folder;
};

TEST_F(LiveWavWriterTest, SamplesOfAnyGridArriveExactly)
{
  struct Case
  {
    int channels;
    double rate;
  };
  for (const Case c : { Case { 1, 44100.0 }, Case { 2, 96000.0 } })
  {
    SCOPED_TRACE(c.channels);
    const std::string path = Path("out" + std::to_string(c.channels) + ".wav");
    std::string error;
    auto writer = LiveWavWriter::Create(path, c.channels, c.rate, error);
    ASSERT_NE(writer, nullptr) << error;
    // Codes of a 32-bit grid and of a 6-bit one, and full scale either way.
    const std::vector<double> first { 0x1p-31, -1.0, 0.5 + 0x1p-31, 1.0 - 0x1p-31 };
    const std::vector<double> second { 0.25 + 0x1p-5, -0x1p-5 };
    ASSERT_TRUE(writer->Write(first.data(), std::int64_t(first.size()) / c.channels, error)) << error;
    ASSERT_TRUE(writer->Write(second.data(), std::int64_t(second.size()) / c.channels, error)) << error;
    ASSERT_TRUE(writer->Close(error)) << error;
    EXPECT_TRUE(writer->IsClosed());

    SF_INFO info {};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    EXPECT_EQ(info.channels, c.channels);
    EXPECT_EQ(info.samplerate, int(c.rate));
    std::vector<double> expected = first;
    expected.insert(expected.end(), second.begin(), second.end());
    ASSERT_EQ(info.frames, std::int64_t(expected.size()) / c.channels);
    std::vector<double> read(expected.size());
    EXPECT_EQ(sf_readf_double(file, read.data(), info.frames), info.frames);
    sf_close(file);
    EXPECT_EQ(read, expected);
  }
}

TEST_F(LiveWavWriterTest, TheFileGrowsWhileItIsWritten)
{
  const std::string path = Path("growing.wav");
  std::string error;
  auto writer = LiveWavWriter::Create(path, 2, 48000.0, error);
  ASSERT_NE(writer, nullptr) << error;
  const std::vector<double> block(2 * 4096, 0.125);
  const auto before = fs::file_size(path);
  ASSERT_TRUE(writer->Write(block.data(), 4096, error)) << error;
  EXPECT_GE(fs::file_size(path), before + block.size() * sizeof(double));
  ASSERT_TRUE(writer->Close(error)) << error;
}

TEST_F(LiveWavWriterTest, AFolderThatIsNotThereIsOneLine)
{
  const std::string path = Path("missing/out.wav");
  std::string error;
  EXPECT_EQ(LiveWavWriter::Create(path, 2, 48000.0, error), nullptr);
  EXPECT_NE(error.find(path), std::string::npos) << error;
  EXPECT_EQ(error.find('\n'), std::string::npos) << error;
}

TEST_F(LiveWavWriterTest, DiscardRemovesTheFile)
{
  const std::string path = Path("failed.wav");
  std::string error;
  auto writer = LiveWavWriter::Create(path, 1, 48000.0, error);
  ASSERT_NE(writer, nullptr) << error;
  const double sample = 0.5;
  ASSERT_TRUE(writer->Write(&sample, 1, error)) << error;
  writer->Discard();
  EXPECT_FALSE(fs::exists(path));
  EXPECT_TRUE(writer->IsClosed());
}

} // namespace
} // namespace kit::live
