#include "render/render_program.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace kit::render
{
namespace
{

namespace fs = std::filesystem;

class RenderRoundTrip : public testing::Test
{
protected:
  void SetUp() override
  {
    folder = fs::temp_directory_path() / ("ombrix-render-" + std::to_string(::getpid()) + "-" +
                                          testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }
  [[nodiscard]] std::string Path(const std::string& name) const { return (folder / name).string(); }
  [[nodiscard]] std::string Plugin() const { return std::string(" --plugin ") + OMBRIX_CLAP_PATH + " "; }

  // A float WAV of channels channels: a sine sweep well inside full scale, plus one
  // over-full-scale burst so that the clipper has work.
  void WriteInput(const std::string& path, int channels, int rate, int frames)
  {
    SF_INFO info {};
    info.channels = channels;
    info.samplerate = rate;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    std::vector<float> samples;
    for (int i = 0; i < frames; ++i)
      for (int c = 0; c < channels; ++c)
        samples.push_back(float((i > 1000 && i < 1100 ? 1.3 : 0.6) * std::sin(0.0005 * i * i / frames * 200 + c)));
    ASSERT_EQ(sf_writef_float(file, samples.data(), frames), frames);
    sf_close(file);
  }

  fs::path folder;
};

TEST_F(RenderRoundTrip, EveryOutputSampleIsACodeOfTheTargetGridNearTheInput)
{
  WriteInput(Path("in.wav"), 2, 44100, 20000);
  SF_INFO inInfo {};
  SNDFILE* in = sf_open(Path("in.wav").c_str(), SFM_READ, &inInfo);
  ASSERT_NE(in, nullptr);
  std::vector<double> input(std::size_t(inInfo.frames * 2));
  ASSERT_EQ(sf_readf_double(in, input.data(), inInfo.frames), inInfo.frames);
  sf_close(in);

  for (const int bits : { 8, 16, 24, 32 })
  {
    SCOPED_TRACE(bits);
    const std::string out = Path("out" + std::to_string(bits) + ".wav");
    const RunResult run = RunRender("--bits " + std::to_string(bits) + Plugin() + Path("in.wav") + " " + out);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("clamped samples"), std::string::npos);

    SF_INFO info {};
    SNDFILE* file = sf_open(out.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(info.frames, inInfo.frames);
    EXPECT_EQ(info.samplerate, 44100);
    std::vector<int> codes(std::size_t(info.frames * 2));
    ASSERT_EQ(sf_readf_int(file, codes.data(), info.frames), info.frames);
    sf_close(file);

    // libsndfile hands codes back left-aligned in 32 bits: the low bits must be zero.
    const int unused = 32 - bits;
    const double step = std::ldexp(1.0, -(bits - 1));
    double worst = 0.0;
    for (std::size_t i = 0; i < codes.size(); ++i)
    {
      if (unused > 0)
      {
        ASSERT_EQ(std::uint32_t(codes[i]) & ((1u << unused) - 1), 0u) << "sample " << i;
      }
      const double y = double(codes[i] >> unused) * step;
      worst = std::max(worst, std::abs(y - std::clamp(input[i], -1.0, 1.0)));
    }
    // Shaped dither adds a few steps at most; at 24 and 32 bits the float input is already
    // nearly on the grid.
    EXPECT_LT(worst, 40.0 * step + 1e-9);
  }
}

// The settings reach the plug-in before activation designs its filter: with dither off and
// power 0 even the first block is plain rounding half up of the clipped input to the grid,
// with no shaping left over from the defaults.
TEST_F(RenderRoundTrip, SettingsApplyFromTheFirstFrame)
{
  WriteInput(Path("in.wav"), 2, 48000, 6000);
  SF_INFO inInfo {};
  SNDFILE* in = sf_open(Path("in.wav").c_str(), SFM_READ, &inInfo);
  ASSERT_NE(in, nullptr);
  std::vector<double> input(std::size_t(inInfo.frames * 2));
  ASSERT_EQ(sf_readf_double(in, input.data(), inInfo.frames), inInfo.frames);
  sf_close(in);

  const RunResult run =
      RunRender("--bits 8 --power 0 --dither off --block 256" + Plugin() + Path("in.wav") + " " + Path("out.wav"));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  SF_INFO info {};
  SNDFILE* file = sf_open(Path("out.wav").c_str(), SFM_READ, &info);
  ASSERT_NE(file, nullptr);
  std::vector<int> codes(std::size_t(info.frames * 2));
  ASSERT_EQ(sf_readf_int(file, codes.data(), info.frames), info.frames);
  sf_close(file);
  ASSERT_EQ(codes.size(), input.size());
  for (std::size_t i = 0; i < codes.size(); ++i)
  {
    const double rounded = std::floor(std::clamp(input[i], -1.0, 1.0) * 128.0 + 0.5);
    const auto expected = std::int64_t(std::clamp(rounded, -128.0, 127.0));
    ASSERT_EQ(codes[i] >> 24, expected) << "sample " << i;
  }
}

TEST_F(RenderRoundTrip, MonoInputStaysMono)
{
  WriteInput(Path("mono.wav"), 1, 48000, 4800);
  const RunResult run = RunRender("--block 100" + Plugin() + Path("mono.wav") + " " + Path("mono-out.flac"));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  // 4800 frames are fewer than one spectrum frame: the report says so rather than print empty bands.
  EXPECT_NE(run.output.find("too short to measure"), std::string::npos) << run.output;
  SF_INFO info {};
  SNDFILE* file = sf_open(Path("mono-out.flac").c_str(), SFM_READ, &info);
  ASSERT_NE(file, nullptr);
  sf_close(file);
  EXPECT_EQ(info.channels, 1);
  EXPECT_EQ(info.frames, 4800);
}

TEST_F(RenderRoundTrip, FailuresSayWhyOnOneLineAndLeaveNoOutput)
{
  WriteInput(Path("three.wav"), 3, 48000, 100);
  WriteInput(Path("two.wav"), 2, 48000, 100);
  struct Case
  {
    std::string arguments;
    const char* messagePart;
  };
  const Case cases[] = {
    { "--plugin " + Path("absent.clap") + " " + Path("out.wav"), "cannot load" },
    { Plugin() + Path("three.wav") + " " + Path("out.wav"), "3 channels" },
    { Plugin() + Path("absent.wav") + " " + Path("out.wav"), "cannot read" },
    { Plugin() + Path("two.wav") + " " + Path("no/such/folder/out.wav"), "cannot write" },
    { "--bits 99" + Plugin() + Path("out.wav"), "--bits must be" },
    { "--bits 32" + Plugin() + Path("out.flac"), "FLAC holds at most 24 bits" },
    { Plugin() + Path("two.wav") + " " + Path("out.ogg"), "cannot tell the format" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.arguments);
    const RunResult run = RunRender(c.arguments);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(run.output.rfind("ombrix-render: ", 0), 0u) << run.output;
    EXPECT_NE(run.output.find(c.messagePart), std::string::npos) << run.output;
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
    // Only the two inputs remain: no output, no temporary file.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
  }
}

TEST_F(RenderRoundTrip, TheDemoRendersWithItsReport)
{
  const RunResult run = RunRender(Plugin() + Path("demo.wav"));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  for (const char* part : { "frames            480000", "channels          2", "sample rate       48000 Hz",
                            "real time", "added noise", "LSB RMS", "noise by octave" })
    EXPECT_NE(run.output.find(part), std::string::npos) << part << "\n" << run.output;
  EXPECT_TRUE(fs::exists(Path("demo.wav")));
}

} // namespace
} // namespace kit::render
