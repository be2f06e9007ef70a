// ombrix-render given files and paths it cannot or can only just work with: it says why on one
// line and exits non-zero where it cannot, writes a correct file where it can (NaN and infinite
// samples counted in the report), and never leaves a partial or temporary file behind.
#include "render/render_program.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kit::render
{
namespace
{

namespace fs = std::filesystem;

void Put16(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
  bytes.push_back(std::uint8_t(value));
  bytes.push_back(std::uint8_t(value >> 8));
}

void Put32(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
  Put16(bytes, value & 0xffff);
  Put16(bytes, value >> 16);
}

void PutText(std::vector<std::uint8_t>& bytes, const char* text)
{
  bytes.insert(bytes.end(), text, text + std::strlen(text));
}

// A WAV file byte by byte, so that its header can claim what a library would never write:
// 32-bit float samples, the data chunk's size stated by the caller.
std::vector<std::uint8_t> FloatWav(std::uint32_t channels, const std::vector<float>& samples,
                                   std::uint32_t statedDataBytes)
{
  std::vector<std::uint8_t> bytes;
  PutText(bytes, "RIFF");
  Put32(bytes, 36 + statedDataBytes);
  PutText(bytes, "WAVEfmt ");
  Put32(bytes, 16);
  Put16(bytes, 3); // IEEE float
  Put16(bytes, channels);
  Put32(bytes, 48000);
  Put32(bytes, 48000 * channels * 4);
  Put16(bytes, std::uint32_t(channels * 4));
  Put16(bytes, 32);
  PutText(bytes, "data");
  Put32(bytes, statedDataBytes);
  for (const float sample : samples)
  {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &sample, sizeof bits);
    Put32(bytes, bits);
  }
  return bytes;
}

// Stereo samples at 0.25 and -0.25, the given number of frames.
std::vector<float> StereoSamples(std::size_t frames)
{
  std::vector<float> samples;
  for (std::size_t i = 0; i < frames; ++i)
  {
    samples.push_back(0.25f);
    samples.push_back(-0.25f);
  }
  return samples;
}

std::vector<std::uint8_t> CompleteWav(std::uint32_t channels, const std::vector<float>& samples)
{
  return FloatWav(channels, samples, std::uint32_t(samples.size() * 4));
}

class RenderBadInput : public testing::Test
{
protected:
  void SetUp() override
  {
    folder = fs::temp_directory_path() / ("ombrix-bad-input-" + std::to_string(::getpid()) + "-" +
                                          testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder / "out");
  }
  void TearDown() override
  {
    std::error_code ignored;
    fs::permissions(folder / "out", fs::perms::owner_all, ignored);
    fs::remove_all(folder);
  }
  [[nodiscard]] std::string Path(const std::string& name) const { return (folder / name).string(); }
  void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
  {
    std::ofstream file(Path(name), std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  // The names in the output folder, hidden temporaries included.
  [[nodiscard]] std::vector<std::string> OutputFolder() const
  {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder / "out")) names.push_back(entry.path().filename());
    return names;
  }

  fs::path folder;
};

// The report line that counts NaN and infinite input samples; -1 when absent.
long long NonFiniteCount(const std::string& report)
{
  const std::string label = "non-finite input";
  const std::size_t at = report.find(label);
  if (at == std::string::npos) return -1;
  return std::atoll(report.c_str() + at + label.size());
}

TEST_F(RenderBadInput, FilesThatCannotBeDitheredGiveOneLineAndNoOutput)
{
  const std::vector<float> stereo = StereoSamples(1000);
  const std::vector<std::uint8_t> complete = CompleteWav(2, stereo);
  Write("empty.wav", {});
  Write("cut-in-header.wav", std::vector<std::uint8_t>(complete.begin(), complete.begin() + 30));
  Write("no-channels.wav", FloatWav(0, {}, 0));
  Write("three-channels.wav", CompleteWav(3, std::vector<float>(300, 0.25f)));
  Write("eight-channels.wav", CompleteWav(8, std::vector<float>(800, 0.25f)));
  const std::string text = "This is a shopping list, not audio: eggs, flour, butter.\n";
  Write("text.wav", std::vector<std::uint8_t>(text.begin(), text.end()));
  std::vector<std::uint8_t> noise(4096);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = std::uint8_t(i * 2654435761u >> 13);
  Write("noise.wav", noise);

  struct Case
  {
    const char* input;
    const char* reason; // a part of the one line
  };
  const Case cases[] = {
    { "empty.wav", "cannot read" },         { "cut-in-header.wav", "cannot read" },
    { "no-channels.wav", "cannot read" },   { "three-channels.wav", "3 channels" },
    { "eight-channels.wav", "8 channels" }, { "text.wav", "cannot read" },
    { "noise.wav", "cannot read" },         { "absent.wav", "cannot read" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.input);
    const RunResult run = RunRenderWithPlugin(Path(c.input) + " " + Path("out/out.wav"));
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
    EXPECT_EQ(run.output.rfind("ombrix-render: ", 0), 0u) << run.output;
    EXPECT_NE(run.output.find(c.reason), std::string::npos) << run.output;
    EXPECT_TRUE(OutputFolder().empty()) << testing::PrintToString(OutputFolder());
  }
}

TEST_F(RenderBadInput, OutputsThatCannotBeWrittenGiveOneLineAndNoFile)
{
  Write("in.wav", CompleteWav(2, StereoSamples(1000)));
  fs::permissions(folder / "out", fs::perms::owner_read | fs::perms::owner_exec);
  // Permissions do not stop the superuser; sysfs refuses new files even to it.
  const std::string readOnly = access(Path("out").c_str(), W_OK) == 0 ? "/sys" : Path("out");
  struct Case
  {
    const char* name;
    std::string output;
  };
  const Case cases[] = {
    { "missing folder", Path("missing/deeper/out.wav") },
    { "read-only folder", readOnly + "/out.wav" },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    const RunResult run = RunRenderWithPlugin(Path("in.wav") + " " + c.output);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
    EXPECT_NE(run.output.find("ombrix-render: cannot write"), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(c.output));
  }
  fs::permissions(folder / "out", fs::perms::owner_all);
  EXPECT_TRUE(OutputFolder().empty());
  EXPECT_FALSE(fs::exists(Path("missing")));
}

// The dithered file: its frame count, and whether every sample but the skipped ones (interleaved
// indexes) is a 16-bit code within a few steps of expected (one value per channel).
struct OutputCheck
{
  sf_count_t frames = -1;
  bool nearExpected = false;
};

OutputCheck ReadOutput(const std::string& path, const std::vector<double>& expected,
                       const std::vector<std::size_t>& skip)
{
  OutputCheck check;
  SF_INFO info {};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) return check;
  std::vector<short> codes(std::size_t(info.frames * info.channels));
  check.frames = sf_readf_short(file, codes.data(), info.frames);
  sf_close(file);
  check.nearExpected = info.channels == int(expected.size());
  for (std::size_t i = 0; i < codes.size() && check.nearExpected; ++i)
  {
    if (std::find(skip.begin(), skip.end(), i) != skip.end()) continue;
    if (std::abs(codes[i] / 32768.0 - expected[i % expected.size()]) > 8.0 / 32768.0) check.nearExpected = false;
  }
  return check;
}

TEST_F(RenderBadInput, FilesThatCanBeDitheredGiveACompleteFileAndAReport)
{
  const std::vector<float> stereo = StereoSamples(1000);
  // The header claims twice the frames the file holds, as a recorder that died leaves it.
  const std::vector<std::uint8_t> claimsMore = FloatWav(2, stereo, std::uint32_t(stereo.size() * 4 * 2));
  Write("claims-more.wav", claimsMore);
  // Cut in the middle of a frame: the last whole frame is the end.
  const std::vector<std::uint8_t> complete = CompleteWav(2, stereo);
  Write("cut-in-data.wav", std::vector<std::uint8_t>(complete.begin(), complete.end() - 6));
  Write("one-frame.wav", CompleteWav(2, StereoSamples(1)));
  Write("one-frame-mono.wav", CompleteWav(1, { 0.25f }));
  std::vector<float> nonFinite = stereo;
  nonFinite[20] = std::numeric_limits<float>::quiet_NaN();
  nonFinite[41] = std::numeric_limits<float>::infinity();
  nonFinite[60] = -std::numeric_limits<float>::infinity();
  nonFinite[1999] = std::numeric_limits<float>::quiet_NaN();
  Write("non-finite.wav", CompleteWav(2, nonFinite));

  struct Case
  {
    const char* input;
    sf_count_t frames;
    std::vector<double> expected; // per channel
    long long nonFinite;
    std::vector<std::size_t> skip;
  };
  const Case cases[] = {
    { "claims-more.wav", 1000, { 0.25, -0.25 }, 0, {} },
    { "cut-in-data.wav", 999, { 0.25, -0.25 }, 0, {} },
    { "one-frame.wav", 1, { 0.25, -0.25 }, 0, {} },
    { "one-frame-mono.wav", 1, { 0.25 }, 0, {} },
    // What the engine makes of NaN and infinity is some code of the grid; the rest is dithered.
    { "non-finite.wav", 1000, { 0.25, -0.25 }, 4, { 20, 41, 60, 1999 } },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.input);
    const std::string output = Path("out/" + std::string(c.input));
    const RunResult run = RunRenderWithPlugin(Path(c.input) + " " + output);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(NonFiniteCount(run.output), c.nonFinite) << run.output;
    EXPECT_EQ(run.output.find("nan"), std::string::npos) << run.output;
    const OutputCheck check = ReadOutput(output, c.expected, c.skip);
    EXPECT_EQ(check.frames, c.frames);
    EXPECT_TRUE(check.nearExpected);
  }
  std::vector<std::string> names = OutputFolder();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string> { "claims-more.wav", "cut-in-data.wav", "non-finite.wav",
                                               "one-frame-mono.wav", "one-frame.wav" }));
}

} // namespace
} // namespace kit::render
