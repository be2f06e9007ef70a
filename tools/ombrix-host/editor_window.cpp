#include "tools/ombrix-host/editor_window.h"

namespace kit::live
{

std::unique_ptr<EditorWindow> EditorWindow::Open(host::Host& host, const clap_plugin& plugin,
                                                 const std::string& displayName, std::string& error)
{
  const auto* gui = static_cast<const clap_plugin_gui*>(plugin.get_extension(&plugin, CLAP_EXT_GUI));
  if (!gui || !gui->create || !gui->destroy || !gui->get_size || !gui->set_parent || !gui->show || !gui->hide)
  {
    error = "the plug-in has no editor";
    return nullptr;
  }
  std::unique_ptr<EditorWindow> editor(new EditorWindow(host, plugin, *gui));
  if (!gui->create(&plugin, CLAP_WINDOW_API_X11, false))
  {
    error = "the plug-in cannot make its editor for X11";
    return nullptr;
  }
  editor->created = true;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  if (!gui->get_size(&plugin, &width, &height) || width == 0 || height == 0 || width > 32767 || height > 32767)
  {
    error = "the plug-in's editor gives no size";
    return nullptr;
  }
  editor->window = host::HostWindow::Create(displayName.c_str(), int(width), int(height), "Ombrix", error);
  if (!editor->window) return nullptr;
  host.SetResizeHandler([raw = editor.get()](std::uint32_t w, std::uint32_t h) { return raw->OnResizeRequest(w, h); });

  clap_window parent {};
  parent.api = CLAP_WINDOW_API_X11;
  parent.x11 = editor->window->Id();
  if (!gui->set_parent(&plugin, &parent))
  {
    error = "the plug-in's editor would not open in the window";
    return nullptr;
  }
  if (!gui->show(&plugin))
  {
    error = "the plug-in's editor would not show";
    return nullptr;
  }
  editor->shown = true;
  return editor;
}

EditorWindow::EditorWindow(host::Host& owner, const clap_plugin& editing, const clap_plugin_gui& extension)
    : host(owner)
    , plugin(editing)
    , gui(extension)
{
}

EditorWindow::~EditorWindow()
{
  if (shown) (void)gui.hide(&plugin);
  if (created) gui.destroy(&plugin);
  host.SetResizeHandler({});
  if (window) window->Destroy();
}

void EditorWindow::ApplyPendingResize()
{
  const std::uint64_t size = pendingSize.exchange(0, std::memory_order_acq_rel);
  if (size != 0 && window) window->Resize(int(size >> 32), int(size & 0xffffffffu));
}

bool EditorWindow::OnResizeRequest(std::uint32_t width, std::uint32_t height)
{
  // X takes sizes of up to 32767 pixels.
  if (width == 0 || height == 0 || width > 32767 || height > 32767 || !window) return false;
  if (host.RoleOfCallingThread() == host::ThreadRole::Main)
  {
    window->Resize(int(width), int(height));
    return true;
  }
  // X calls belong to the main thread; the newest size asked for wins.
  pendingSize.store(std::uint64_t(width) << 32 | height, std::memory_order_release);
  return true;
}

} // namespace kit::live
