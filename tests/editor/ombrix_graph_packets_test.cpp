// What the spectrum graph keeps of the packets it receives, seen through the spectrum of the
// latest 4096 samples after one frame.
#include "editor/ombrix_graph.h"

#include "graph_packets.h"
#include "graphics/input_fixture.h"
#include "stroke_recorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace kit::ui::test
{
namespace
{

const IBounds kScreen(86.0f, 80.0f, 434.0f, 345.0f);

// One display tick of the window for this graph alone: the flags are cleared, then it paints.
std::vector<float> SpectrumAfterOneFrame(const std::function<void(OmbrixGraph&)>& feed)
{
  EditorParams editorDelegate;
  StrokeRecorder recorder(editorDelegate);
  OmbrixGraph graph(kScreen, 3.0f, true);
  feed(graph);
  graph.MarkClean();
  graph.Paint(recorder);
  return { graph.Spectrum().begin(), graph.Spectrum().end() };
}

float Largest(const std::vector<float>& values)
{
  return *std::max_element(values.begin(), values.end());
}

TEST(OmbrixGraphPackets, OnlyTheLatestPacketsSamplesAreAnalysed)
{
  const std::vector<float> tone = SineSamples(1000.0, 1.0);
  const std::vector<float> silence(OmbrixGraph::kFftSize, 0.0f);
  const std::vector<float> toneAlone = SpectrumAfterOneFrame([&](OmbrixGraph& graph) { Send(graph, tone); });
  ASSERT_GT(Largest(toneAlone), 0.1f) << "a full-scale tone shows";

  struct Case
  {
    const char* what;
    std::function<void(OmbrixGraph&)> feed;
    bool showsTone; // the spectrum equals the tone's alone; otherwise it is all zero
  };
  const Case cases[] = {
    { "a short packet after the tone appends 4096 zeros",
      [&](OmbrixGraph& graph)
      {
        Send(graph, tone);
        const GraphPacket packet(tone);
        graph.ReceivePacket(0, OmbrixGraph::kPacketBytes - 1, packet.Bytes());
      },
      false },
    { "a header alone appends zeros too",
      [&](OmbrixGraph& graph)
      {
        Send(graph, tone);
        const GraphPacket packet(tone);
        graph.ReceivePacket(0, OmbrixGraph::kPacketHeaderBytes, packet.Bytes());
      },
      false },
    { "no bytes append zeros",
      [&](OmbrixGraph& graph)
      {
        Send(graph, tone);
        graph.ReceivePacket(0, OmbrixGraph::kPacketBytes, nullptr);
      },
      false },
    { "message tag 2 is ignored",
      [&](OmbrixGraph& graph)
      {
        Send(graph, tone);
        const GraphPacket packet(silence);
        graph.ReceivePacket(2, packet.Size(), packet.Bytes());
      },
      true },
    { "a packet whose samples are not aligned for floats",
      [&](OmbrixGraph& graph)
      {
        const GraphPacket packet(tone, 1);
        graph.ReceivePacket(0, packet.Size(), packet.Bytes());
      },
      true },
    { "a longer packet keeps its first 4096 samples",
      [&](OmbrixGraph& graph)
      {
        GraphPacket packet(tone);
        packet.storage.resize(packet.storage.size() + 64, 0x7f);
        graph.ReceivePacket(0, packet.Size() + 64, packet.Bytes());
      },
      true },
    // 48000 is no multiple of 4096: the twelfth packet wraps round the history's end.
    { "the tone after eleven silent packets, across the history's end",
      [&](OmbrixGraph& graph)
      {
        for (int i = 0; i < 11; ++i) Send(graph, silence);
        Send(graph, tone);
      },
      true },
    { "silence after the tone",
      [&](OmbrixGraph& graph)
      {
        Send(graph, tone);
        Send(graph, silence);
      },
      false },
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.what);
    const std::vector<float> spectrum = SpectrumAfterOneFrame(c.feed);
    if (c.showsTone)
      EXPECT_EQ(spectrum, toneAlone);
    else
      EXPECT_EQ(Largest(spectrum), 0.0f);
  }
}

TEST(OmbrixGraphPackets, APacketAsksForARepaintUnlessItIsIgnored)
{
  const GraphPacket packet(SineSamples(1000.0, 1.0));
  struct Case
  {
    int messageTag;
    int byteCount;
    bool repaints;
  };
  const Case cases[] = { { 0, OmbrixGraph::kPacketBytes, true },
                         { 0, 12, true },
                         { 2, OmbrixGraph::kPacketBytes, false },
                         { -1, OmbrixGraph::kPacketBytes, false } };
  for (const Case& c : cases)
  {
    SCOPED_TRACE("tag " + std::to_string(c.messageTag) + ", " + std::to_string(c.byteCount) + " bytes");
    OmbrixGraph graph(kScreen, 8192.0f, false);
    graph.MarkClean();
    graph.ReceivePacket(c.messageTag, c.byteCount, packet.Bytes());
    EXPECT_EQ(graph.IsDirty(), c.repaints);
  }
}

} // namespace
} // namespace kit::ui::test
