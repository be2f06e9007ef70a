// The host side of an embedded editor: descriptors registered, modified and unregistered with
// their flags, request_resize answered by the test's handler or the configured answer, and a
// callback request that makes the wake descriptor readable.
#include "tools/host/host.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include <poll.h>

namespace kit::host
{
namespace
{

template <class Record>
const Record* Get(const Host& host, const char* id)
{
  return static_cast<const Record*>(host.Record()->get_extension(host.Record(), id));
}

HostConfig WithDescriptors()
{
  HostConfig config;
  config.offered.posixFdSupport = true;
  return config;
}

constexpr auto kRead = clap_posix_fd_flags_t(CLAP_POSIX_FD_READ);
constexpr auto kWrite = clap_posix_fd_flags_t(CLAP_POSIX_FD_WRITE);

TEST(HostGuiServices, DescriptorsAreKeptWithTheirFlagsUntilUnregistered)
{
  Host host(WithDescriptors());
  const auto* fds = Get<clap_host_posix_fd_support>(host, CLAP_EXT_POSIX_FD_SUPPORT);
  ASSERT_NE(fds, nullptr);
  EXPECT_TRUE(fds->register_fd(host.Record(), 7, kRead));
  EXPECT_TRUE(fds->register_fd(host.Record(), 3, kRead | kWrite));
  EXPECT_FALSE(fds->register_fd(host.Record(), 7, kWrite)); // already registered
  EXPECT_FALSE(fds->register_fd(host.Record(), -1, kRead));
  EXPECT_EQ(host.RegisteredDescriptors(),
            (std::vector<DescriptorRegistration> { { 3, kRead | kWrite }, { 7, kRead } }));
  EXPECT_TRUE(host.HasDescriptor(7));

  EXPECT_TRUE(fds->modify_fd(host.Record(), 7, kWrite));
  EXPECT_FALSE(fds->modify_fd(host.Record(), 9, kRead)); // never registered
  EXPECT_EQ(host.RegisteredDescriptors(),
            (std::vector<DescriptorRegistration> { { 3, kRead | kWrite }, { 7, kWrite } }));

  EXPECT_TRUE(fds->unregister_fd(host.Record(), 3));
  EXPECT_FALSE(fds->unregister_fd(host.Record(), 3));
  EXPECT_EQ(host.RegisteredDescriptors(), (std::vector<DescriptorRegistration> { { 7, kWrite } }));
  EXPECT_FALSE(host.HasDescriptor(3));

  // The journal keeps every call as asked, refused ones too.
  const HostJournal& journal = host.Journal();
  EXPECT_EQ(
      journal.DescriptorRegistrations(),
      (std::vector<DescriptorRegistration> { { 7, kRead }, { 3, kRead | kWrite }, { 7, kWrite }, { -1, kRead } }));
  EXPECT_EQ(journal.DescriptorModifications(), (std::vector<DescriptorRegistration> { { 7, kWrite }, { 9, kRead } }));
  EXPECT_EQ(journal.DescriptorUnregistrations(), (std::vector<int> { 3, 3 }));
  EXPECT_EQ(journal.Count(HostFunction::PosixFdRegister), 4u);
  EXPECT_EQ(journal.Count(HostFunction::PosixFdModify), 2u);
  EXPECT_EQ(journal.Count(HostFunction::PosixFdUnregister), 2u);
}

TEST(HostGuiServices, AHostSetToRefuseRegistersNoDescriptor)
{
  HostConfig config = WithDescriptors();
  config.descriptorRegistrationSucceeds = false;
  Host host(config);
  const auto* fds = Get<clap_host_posix_fd_support>(host, CLAP_EXT_POSIX_FD_SUPPORT);
  ASSERT_NE(fds, nullptr);
  EXPECT_FALSE(fds->register_fd(host.Record(), 7, kRead));
  EXPECT_TRUE(host.RegisteredDescriptors().empty());
  EXPECT_EQ(host.Journal().DescriptorRegistrations().size(), 1u);
}

TEST(HostGuiServices, ResizeRequestsAreAnsweredByTheHandlerWhileOneIsSet)
{
  for (const bool configured : { true, false })
  {
    SCOPED_TRACE(configured ? "configured to grant" : "configured to refuse");
    HostConfig config;
    config.resizeRequestSucceeds = configured;
    Host host(config);
    const auto* gui = Get<clap_host_gui>(host, CLAP_EXT_GUI);
    ASSERT_NE(gui, nullptr);
    EXPECT_EQ(gui->request_resize(host.Record(), 500, 525), configured);

    std::vector<ResizeRequest> handled;
    host.SetResizeHandler(
        [&handled](std::uint32_t width, std::uint32_t height)
        {
          handled.push_back({ width, height });
          return width <= 1000;
        });
    EXPECT_TRUE(gui->request_resize(host.Record(), 750, 787));
    EXPECT_FALSE(gui->request_resize(host.Record(), 1500, 1575));
    ASSERT_EQ(handled.size(), 2u);
    EXPECT_EQ(handled[1].width, 1500u);
    EXPECT_EQ(handled[1].height, 1575u);

    host.SetResizeHandler({});
    EXPECT_EQ(gui->request_resize(host.Record(), 1000, 1050), configured);
    EXPECT_EQ(handled.size(), 2u);

    const std::vector<ResizeRequest> asked = host.Journal().ResizeRequests();
    const std::vector<std::uint32_t> expected { 500, 525, 750, 787, 1500, 1575, 1000, 1050 };
    std::vector<std::uint32_t> pairs;
    for (const ResizeRequest& request : asked)
    {
      pairs.push_back(request.width);
      pairs.push_back(request.height);
    }
    EXPECT_EQ(pairs, expected);
  }
}

TEST(HostGuiServices, ACallbackRequestMakesTheWakeDescriptorReadableUntilDrained)
{
  Host host;
  ASSERT_GE(host.CallbackWakeDescriptor(), 0);
  const auto readable = [&host]
  {
    pollfd entry { host.CallbackWakeDescriptor(), POLLIN, 0 };
    return ::poll(&entry, 1, 0) == 1 && (entry.revents & POLLIN);
  };
  EXPECT_FALSE(readable());
  EXPECT_FALSE(host.CallbackRequested());
  host.Record()->request_callback(host.Record());
  host.Record()->request_callback(host.Record());
  EXPECT_TRUE(readable());
  EXPECT_TRUE(host.CallbackRequested());
  host.DrainCallbackWake();
  EXPECT_FALSE(readable());
  EXPECT_TRUE(host.CallbackRequested()); // draining takes no request
  EXPECT_TRUE(host.TakeCallbackRequest());
  EXPECT_FALSE(host.CallbackRequested());
}

} // namespace
} // namespace kit::host
