// The host's view of the parameters: ids are indices, continuous parameters travel
// normalised and the others in their own units. Main thread, except flush while processing.
#include "binding/clap_binding.h"

#include <algorithm>
#include <cstring>

namespace kit
{

namespace
{

void CopyWhole(std::string_view text, char* target, std::size_t capacity) noexcept
{
  const std::size_t length = std::min(text.size(), capacity - 1);
  std::memcpy(target, text.data(), length);
  target[length] = '\0';
}

} // namespace

bool IClapBinding::ImplementsParams() const
{
  return true;
}

std::uint32_t IClapBinding::ParamsCount()
{
  return std::uint32_t(NParams());
}

bool IClapBinding::IsValidParamId(clap_id id)
{
  return id < std::uint32_t(NParams());
}

bool IClapBinding::ParamsInfo(std::uint32_t index, clap_param_info* info)
{
  if (!info || !IsValidParamId(index)) return false;
  const IParam& param = *GetParam(int(index));
  const bool continuous = param.Type() == IParam::kTypeDouble;
  *info = clap_param_info {};
  info->id = index;
  info->flags = CLAP_PARAM_REQUIRES_PROCESS;
  if (!continuous) info->flags |= CLAP_PARAM_IS_STEPPED;
  if (!(param.Flags() & IParam::kFlagCannotAutomate)) info->flags |= CLAP_PARAM_IS_AUTOMATABLE;
  info->cookie = nullptr;
  CopyWhole(param.Name(), info->name, sizeof info->name);
  CopyWhole(param.Group(), info->module, sizeof info->module);
  info->min_value = continuous ? 0.0 : param.Min();
  info->max_value = continuous ? 1.0 : param.Max();
  info->default_value = param.DefaultValue(continuous);
  return true;
}

bool IClapBinding::ParamsValue(clap_id id, double* value)
{
  if (!value || !IsValidParamId(id)) return false;
  const IParam& param = *GetParam(int(id));
  const double real = param.Value();
  *value = param.Type() == IParam::kTypeDouble ? param.UnitFromRealClamped(real) : real;
  return true;
}

bool IClapBinding::ParamsValueToText(clap_id id, double value, char* text, std::uint32_t capacity)
{
  if (!text || capacity == 0 || !IsValidParamId(id)) return false;
  const IParam& param = *GetParam(int(id));
  IParam::Text display;
  if (param.Type() == IParam::kTypeDouble)
    param.FormatDisplay(param.UnitFromRealClamped(param.FromNormalized(value)), true, display, true);
  else
    param.FormatDisplay(param.Conform(value), false, display, true);

  std::string_view label = param.LabelForValue();
  const std::size_t length = display.Size() + (label.empty() ? 0 : 1 + label.size());
  // A cut text would misname the value: too small a buffer is a failure.
  if (length >= capacity) return false;
  std::memcpy(text, display.c_str(), display.Size());
  std::size_t at = display.Size();
  if (!label.empty())
  {
    text[at++] = ' ';
    std::memcpy(text + at, label.data(), label.size());
    at += label.size();
  }
  text[at] = '\0';
  return true;
}

bool IClapBinding::ParamsTextToValue(clap_id id, const char* text, double* value)
{
  if (!text || !value || !IsValidParamId(id)) return false;
  const IParam& param = *GetParam(int(id));
  const double real = param.ParseText(text);
  *value = param.Type() == IParam::kTypeDouble ? param.UnitFromRealClamped(real) : real;
  return true;
}

void IClapBinding::ParamsFlush(const clap_input_events* in, const clap_output_events* out) noexcept
{
  ConvertInputEvents(in);
  PushParamEventsToHost(out);
}

void IClapBinding::QueueHostParamValue(int index, double normalized)
{
  const IParam* param = GetParam(index);
  if (!param) return;
  const double value =
      param->Type() == IParam::kTypeDouble ? normalized : param->Conform(param->FromNormalized(normalized));
  (void)hostParamQueue.Push({ HostParamEntry::kValue, index, value });
  RequestParamFlush();
}

void IClapBinding::QueueHostGestureBegin(int index)
{
  if (!GetParam(index)) return;
  (void)hostParamQueue.Push({ HostParamEntry::kGestureBegin, index, 0.0 });
  RequestParamFlush();
}

void IClapBinding::QueueHostGestureEnd(int index)
{
  if (!GetParam(index)) return;
  (void)hostParamQueue.Push({ HostParamEntry::kGestureEnd, index, 0.0 });
  RequestParamFlush();
}

void IClapBinding::RequestParamFlush()
{
  if (processing.load(std::memory_order_acquire)) return;
  PostToMainThread(
      [this]
      {
        const clap_host_params* hostParams = hostLink.params;
        if (!destroying.load(std::memory_order_acquire) && hostParams && hostParams->request_flush)
          hostParams->request_flush(hostLink.host);
      });
}

} // namespace kit
