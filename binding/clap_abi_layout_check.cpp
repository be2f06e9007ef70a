// Pins every record, scalar type and constant of clap_abi.h to the CLAP 1.2.10 layout on Linux
// x86_64 (System V, LP64), so a slip in a field's order or width stops the build instead of
// corrupting memory at the plug-in boundary. Grouped by the standard's header names.
#include "binding/clap_abi.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

static_assert(sizeof(bool) == 1 && sizeof(void*) == 8 && sizeof(unsigned long) == 8,
              "the layout below holds for LP64 with a one-byte bool");
static_assert(CLAP_VERSION.major == 1 && CLAP_VERSION.minor == 2 && CLAP_VERSION.revision == 10);

// entry.h
static_assert(sizeof(clap_plugin_entry) == 40 && alignof(clap_plugin_entry) == 8);
static_assert(std::is_same_v<clap_plugin_entry, clap_plugin_entry_t>);
static_assert(offsetof(clap_plugin_entry, clap_version) == 0 && sizeof(clap_plugin_entry::clap_version) == 12);
static_assert(offsetof(clap_plugin_entry, init) == 16 && sizeof(clap_plugin_entry::init) == 8);
static_assert(offsetof(clap_plugin_entry, deinit) == 24 && sizeof(clap_plugin_entry::deinit) == 8);
static_assert(offsetof(clap_plugin_entry, get_factory) == 32 && sizeof(clap_plugin_entry::get_factory) == 8);

// factory/plugin-factory.h
static_assert(sizeof(clap_plugin_factory) == 24 && alignof(clap_plugin_factory) == 8);
static_assert(std::is_same_v<clap_plugin_factory, clap_plugin_factory_t>);
static_assert(offsetof(clap_plugin_factory, get_plugin_count) == 0 &&
              sizeof(clap_plugin_factory::get_plugin_count) == 8);
static_assert(offsetof(clap_plugin_factory, get_plugin_descriptor) == 8 &&
              sizeof(clap_plugin_factory::get_plugin_descriptor) == 8);
static_assert(offsetof(clap_plugin_factory, create_plugin) == 16 && sizeof(clap_plugin_factory::create_plugin) == 8);

// plugin.h
static_assert(sizeof(clap_plugin_descriptor) == 88 && alignof(clap_plugin_descriptor) == 8);
static_assert(std::is_same_v<clap_plugin_descriptor, clap_plugin_descriptor_t>);
static_assert(offsetof(clap_plugin_descriptor, clap_version) == 0 &&
              sizeof(clap_plugin_descriptor::clap_version) == 12);
static_assert(offsetof(clap_plugin_descriptor, id) == 16 && sizeof(clap_plugin_descriptor::id) == 8);
static_assert(offsetof(clap_plugin_descriptor, name) == 24 && sizeof(clap_plugin_descriptor::name) == 8);
static_assert(offsetof(clap_plugin_descriptor, vendor) == 32 && sizeof(clap_plugin_descriptor::vendor) == 8);
static_assert(offsetof(clap_plugin_descriptor, url) == 40 && sizeof(clap_plugin_descriptor::url) == 8);
static_assert(offsetof(clap_plugin_descriptor, manual_url) == 48 && sizeof(clap_plugin_descriptor::manual_url) == 8);
static_assert(offsetof(clap_plugin_descriptor, support_url) == 56 && sizeof(clap_plugin_descriptor::support_url) == 8);
static_assert(offsetof(clap_plugin_descriptor, version) == 64 && sizeof(clap_plugin_descriptor::version) == 8);
static_assert(offsetof(clap_plugin_descriptor, description) == 72 && sizeof(clap_plugin_descriptor::description) == 8);
static_assert(offsetof(clap_plugin_descriptor, features) == 80 && sizeof(clap_plugin_descriptor::features) == 8);
static_assert(sizeof(clap_plugin) == 96 && alignof(clap_plugin) == 8);
static_assert(std::is_same_v<clap_plugin, clap_plugin_t>);
static_assert(offsetof(clap_plugin, desc) == 0 && sizeof(clap_plugin::desc) == 8);
static_assert(offsetof(clap_plugin, plugin_data) == 8 && sizeof(clap_plugin::plugin_data) == 8);
static_assert(offsetof(clap_plugin, init) == 16 && sizeof(clap_plugin::init) == 8);
static_assert(offsetof(clap_plugin, destroy) == 24 && sizeof(clap_plugin::destroy) == 8);
static_assert(offsetof(clap_plugin, activate) == 32 && sizeof(clap_plugin::activate) == 8);
static_assert(offsetof(clap_plugin, deactivate) == 40 && sizeof(clap_plugin::deactivate) == 8);
static_assert(offsetof(clap_plugin, start_processing) == 48 && sizeof(clap_plugin::start_processing) == 8);
static_assert(offsetof(clap_plugin, stop_processing) == 56 && sizeof(clap_plugin::stop_processing) == 8);
static_assert(offsetof(clap_plugin, reset) == 64 && sizeof(clap_plugin::reset) == 8);
static_assert(offsetof(clap_plugin, process) == 72 && sizeof(clap_plugin::process) == 8);
static_assert(offsetof(clap_plugin, get_extension) == 80 && sizeof(clap_plugin::get_extension) == 8);
static_assert(offsetof(clap_plugin, on_main_thread) == 88 && sizeof(clap_plugin::on_main_thread) == 8);

// host.h
static_assert(sizeof(clap_host) == 88 && alignof(clap_host) == 8);
static_assert(std::is_same_v<clap_host, clap_host_t>);
static_assert(offsetof(clap_host, clap_version) == 0 && sizeof(clap_host::clap_version) == 12);
static_assert(offsetof(clap_host, host_data) == 16 && sizeof(clap_host::host_data) == 8);
static_assert(offsetof(clap_host, name) == 24 && sizeof(clap_host::name) == 8);
static_assert(offsetof(clap_host, vendor) == 32 && sizeof(clap_host::vendor) == 8);
static_assert(offsetof(clap_host, url) == 40 && sizeof(clap_host::url) == 8);
static_assert(offsetof(clap_host, version) == 48 && sizeof(clap_host::version) == 8);
static_assert(offsetof(clap_host, get_extension) == 56 && sizeof(clap_host::get_extension) == 8);
static_assert(offsetof(clap_host, request_restart) == 64 && sizeof(clap_host::request_restart) == 8);
static_assert(offsetof(clap_host, request_process) == 72 && sizeof(clap_host::request_process) == 8);
static_assert(offsetof(clap_host, request_callback) == 80 && sizeof(clap_host::request_callback) == 8);

// version.h
static_assert(sizeof(clap_version) == 12 && alignof(clap_version) == 4);
static_assert(std::is_same_v<clap_version, clap_version_t>);
static_assert(offsetof(clap_version, major) == 0 && sizeof(clap_version::major) == 4);
static_assert(offsetof(clap_version, minor) == 4 && sizeof(clap_version::minor) == 4);
static_assert(offsetof(clap_version, revision) == 8 && sizeof(clap_version::revision) == 4);

// events.h
static_assert(sizeof(clap_note_expression) == 4 && std::is_integral_v<clap_note_expression> &&
              std::is_signed_v<clap_note_expression>);
static_assert(sizeof(clap_event_header) == 16 && alignof(clap_event_header) == 4);
static_assert(std::is_same_v<clap_event_header, clap_event_header_t>);
static_assert(offsetof(clap_event_header, size) == 0 && sizeof(clap_event_header::size) == 4);
static_assert(offsetof(clap_event_header, time) == 4 && sizeof(clap_event_header::time) == 4);
static_assert(offsetof(clap_event_header, space_id) == 8 && sizeof(clap_event_header::space_id) == 2);
static_assert(offsetof(clap_event_header, type) == 10 && sizeof(clap_event_header::type) == 2);
static_assert(offsetof(clap_event_header, flags) == 12 && sizeof(clap_event_header::flags) == 4);
static_assert(sizeof(clap_event_note) == 40 && alignof(clap_event_note) == 8);
static_assert(std::is_same_v<clap_event_note, clap_event_note_t>);
static_assert(offsetof(clap_event_note, header) == 0 && sizeof(clap_event_note::header) == 16);
static_assert(offsetof(clap_event_note, note_id) == 16 && sizeof(clap_event_note::note_id) == 4);
static_assert(offsetof(clap_event_note, port_index) == 20 && sizeof(clap_event_note::port_index) == 2);
static_assert(offsetof(clap_event_note, channel) == 22 && sizeof(clap_event_note::channel) == 2);
static_assert(offsetof(clap_event_note, key) == 24 && sizeof(clap_event_note::key) == 2);
static_assert(offsetof(clap_event_note, velocity) == 32 && sizeof(clap_event_note::velocity) == 8);
static_assert(sizeof(clap_event_note_expression) == 40 && alignof(clap_event_note_expression) == 8);
static_assert(std::is_same_v<clap_event_note_expression, clap_event_note_expression_t>);
static_assert(offsetof(clap_event_note_expression, header) == 0 && sizeof(clap_event_note_expression::header) == 16);
static_assert(offsetof(clap_event_note_expression, expression_id) == 16 &&
              sizeof(clap_event_note_expression::expression_id) == 4);
static_assert(offsetof(clap_event_note_expression, note_id) == 20 && sizeof(clap_event_note_expression::note_id) == 4);
static_assert(offsetof(clap_event_note_expression, port_index) == 24 &&
              sizeof(clap_event_note_expression::port_index) == 2);
static_assert(offsetof(clap_event_note_expression, channel) == 26 && sizeof(clap_event_note_expression::channel) == 2);
static_assert(offsetof(clap_event_note_expression, key) == 28 && sizeof(clap_event_note_expression::key) == 2);
static_assert(offsetof(clap_event_note_expression, value) == 32 && sizeof(clap_event_note_expression::value) == 8);
static_assert(sizeof(clap_event_param_value) == 56 && alignof(clap_event_param_value) == 8);
static_assert(std::is_same_v<clap_event_param_value, clap_event_param_value_t>);
static_assert(offsetof(clap_event_param_value, header) == 0 && sizeof(clap_event_param_value::header) == 16);
static_assert(offsetof(clap_event_param_value, param_id) == 16 && sizeof(clap_event_param_value::param_id) == 4);
static_assert(offsetof(clap_event_param_value, cookie) == 24 && sizeof(clap_event_param_value::cookie) == 8);
static_assert(offsetof(clap_event_param_value, note_id) == 32 && sizeof(clap_event_param_value::note_id) == 4);
static_assert(offsetof(clap_event_param_value, port_index) == 36 && sizeof(clap_event_param_value::port_index) == 2);
static_assert(offsetof(clap_event_param_value, channel) == 38 && sizeof(clap_event_param_value::channel) == 2);
static_assert(offsetof(clap_event_param_value, key) == 40 && sizeof(clap_event_param_value::key) == 2);
static_assert(offsetof(clap_event_param_value, value) == 48 && sizeof(clap_event_param_value::value) == 8);
static_assert(sizeof(clap_event_param_mod) == 56 && alignof(clap_event_param_mod) == 8);
static_assert(std::is_same_v<clap_event_param_mod, clap_event_param_mod_t>);
static_assert(offsetof(clap_event_param_mod, header) == 0 && sizeof(clap_event_param_mod::header) == 16);
static_assert(offsetof(clap_event_param_mod, param_id) == 16 && sizeof(clap_event_param_mod::param_id) == 4);
static_assert(offsetof(clap_event_param_mod, cookie) == 24 && sizeof(clap_event_param_mod::cookie) == 8);
static_assert(offsetof(clap_event_param_mod, note_id) == 32 && sizeof(clap_event_param_mod::note_id) == 4);
static_assert(offsetof(clap_event_param_mod, port_index) == 36 && sizeof(clap_event_param_mod::port_index) == 2);
static_assert(offsetof(clap_event_param_mod, channel) == 38 && sizeof(clap_event_param_mod::channel) == 2);
static_assert(offsetof(clap_event_param_mod, key) == 40 && sizeof(clap_event_param_mod::key) == 2);
static_assert(offsetof(clap_event_param_mod, amount) == 48 && sizeof(clap_event_param_mod::amount) == 8);
static_assert(sizeof(clap_event_param_gesture) == 20 && alignof(clap_event_param_gesture) == 4);
static_assert(std::is_same_v<clap_event_param_gesture, clap_event_param_gesture_t>);
static_assert(offsetof(clap_event_param_gesture, header) == 0 && sizeof(clap_event_param_gesture::header) == 16);
static_assert(offsetof(clap_event_param_gesture, param_id) == 16 && sizeof(clap_event_param_gesture::param_id) == 4);
static_assert(sizeof(clap_event_transport) == 104 && alignof(clap_event_transport) == 8);
static_assert(std::is_same_v<clap_event_transport, clap_event_transport_t>);
static_assert(offsetof(clap_event_transport, header) == 0 && sizeof(clap_event_transport::header) == 16);
static_assert(offsetof(clap_event_transport, flags) == 16 && sizeof(clap_event_transport::flags) == 4);
static_assert(offsetof(clap_event_transport, song_pos_beats) == 24 &&
              sizeof(clap_event_transport::song_pos_beats) == 8);
static_assert(offsetof(clap_event_transport, song_pos_seconds) == 32 &&
              sizeof(clap_event_transport::song_pos_seconds) == 8);
static_assert(offsetof(clap_event_transport, tempo) == 40 && sizeof(clap_event_transport::tempo) == 8);
static_assert(offsetof(clap_event_transport, tempo_inc) == 48 && sizeof(clap_event_transport::tempo_inc) == 8);
static_assert(offsetof(clap_event_transport, loop_start_beats) == 56 &&
              sizeof(clap_event_transport::loop_start_beats) == 8);
static_assert(offsetof(clap_event_transport, loop_end_beats) == 64 &&
              sizeof(clap_event_transport::loop_end_beats) == 8);
static_assert(offsetof(clap_event_transport, loop_start_seconds) == 72 &&
              sizeof(clap_event_transport::loop_start_seconds) == 8);
static_assert(offsetof(clap_event_transport, loop_end_seconds) == 80 &&
              sizeof(clap_event_transport::loop_end_seconds) == 8);
static_assert(offsetof(clap_event_transport, bar_start) == 88 && sizeof(clap_event_transport::bar_start) == 8);
static_assert(offsetof(clap_event_transport, bar_number) == 96 && sizeof(clap_event_transport::bar_number) == 4);
static_assert(offsetof(clap_event_transport, tsig_num) == 100 && sizeof(clap_event_transport::tsig_num) == 2);
static_assert(offsetof(clap_event_transport, tsig_denom) == 102 && sizeof(clap_event_transport::tsig_denom) == 2);
static_assert(sizeof(clap_event_midi) == 24 && alignof(clap_event_midi) == 4);
static_assert(std::is_same_v<clap_event_midi, clap_event_midi_t>);
static_assert(offsetof(clap_event_midi, header) == 0 && sizeof(clap_event_midi::header) == 16);
static_assert(offsetof(clap_event_midi, port_index) == 16 && sizeof(clap_event_midi::port_index) == 2);
static_assert(offsetof(clap_event_midi, data) == 18 && sizeof(clap_event_midi::data) == 3);
static_assert(sizeof(clap_event_midi_sysex) == 40 && alignof(clap_event_midi_sysex) == 8);
static_assert(std::is_same_v<clap_event_midi_sysex, clap_event_midi_sysex_t>);
static_assert(offsetof(clap_event_midi_sysex, header) == 0 && sizeof(clap_event_midi_sysex::header) == 16);
static_assert(offsetof(clap_event_midi_sysex, port_index) == 16 && sizeof(clap_event_midi_sysex::port_index) == 2);
static_assert(offsetof(clap_event_midi_sysex, buffer) == 24 && sizeof(clap_event_midi_sysex::buffer) == 8);
static_assert(offsetof(clap_event_midi_sysex, size) == 32 && sizeof(clap_event_midi_sysex::size) == 4);
static_assert(sizeof(clap_event_midi2) == 36 && alignof(clap_event_midi2) == 4);
static_assert(std::is_same_v<clap_event_midi2, clap_event_midi2_t>);
static_assert(offsetof(clap_event_midi2, header) == 0 && sizeof(clap_event_midi2::header) == 16);
static_assert(offsetof(clap_event_midi2, port_index) == 16 && sizeof(clap_event_midi2::port_index) == 2);
static_assert(offsetof(clap_event_midi2, data) == 20 && sizeof(clap_event_midi2::data) == 16);
static_assert(sizeof(clap_input_events) == 24 && alignof(clap_input_events) == 8);
static_assert(std::is_same_v<clap_input_events, clap_input_events_t>);
static_assert(offsetof(clap_input_events, ctx) == 0 && sizeof(clap_input_events::ctx) == 8);
static_assert(offsetof(clap_input_events, size) == 8 && sizeof(clap_input_events::size) == 8);
static_assert(offsetof(clap_input_events, get) == 16 && sizeof(clap_input_events::get) == 8);
static_assert(sizeof(clap_output_events) == 16 && alignof(clap_output_events) == 8);
static_assert(std::is_same_v<clap_output_events, clap_output_events_t>);
static_assert(offsetof(clap_output_events, ctx) == 0 && sizeof(clap_output_events::ctx) == 8);
static_assert(offsetof(clap_output_events, try_push) == 8 && sizeof(clap_output_events::try_push) == 8);

// audio-buffer.h
static_assert(sizeof(clap_audio_buffer) == 32 && alignof(clap_audio_buffer) == 8);
static_assert(std::is_same_v<clap_audio_buffer, clap_audio_buffer_t>);
static_assert(offsetof(clap_audio_buffer, data32) == 0 && sizeof(clap_audio_buffer::data32) == 8);
static_assert(offsetof(clap_audio_buffer, data64) == 8 && sizeof(clap_audio_buffer::data64) == 8);
static_assert(offsetof(clap_audio_buffer, channel_count) == 16 && sizeof(clap_audio_buffer::channel_count) == 4);
static_assert(offsetof(clap_audio_buffer, latency) == 20 && sizeof(clap_audio_buffer::latency) == 4);
static_assert(offsetof(clap_audio_buffer, constant_mask) == 24 && sizeof(clap_audio_buffer::constant_mask) == 8);

// stream.h
static_assert(sizeof(clap_istream) == 16 && alignof(clap_istream) == 8);
static_assert(std::is_same_v<clap_istream, clap_istream_t>);
static_assert(offsetof(clap_istream, ctx) == 0 && sizeof(clap_istream::ctx) == 8);
static_assert(offsetof(clap_istream, read) == 8 && sizeof(clap_istream::read) == 8);
static_assert(sizeof(clap_ostream) == 16 && alignof(clap_ostream) == 8);
static_assert(std::is_same_v<clap_ostream, clap_ostream_t>);
static_assert(offsetof(clap_ostream, ctx) == 0 && sizeof(clap_ostream::ctx) == 8);
static_assert(offsetof(clap_ostream, write) == 8 && sizeof(clap_ostream::write) == 8);

// process.h
static_assert(sizeof(clap_process_status) == 4 && std::is_integral_v<clap_process_status> &&
              std::is_signed_v<clap_process_status>);
static_assert(sizeof(clap_process) == 64 && alignof(clap_process) == 8);
static_assert(std::is_same_v<clap_process, clap_process_t>);
static_assert(offsetof(clap_process, steady_time) == 0 && sizeof(clap_process::steady_time) == 8);
static_assert(offsetof(clap_process, frames_count) == 8 && sizeof(clap_process::frames_count) == 4);
static_assert(offsetof(clap_process, transport) == 16 && sizeof(clap_process::transport) == 8);
static_assert(offsetof(clap_process, audio_inputs) == 24 && sizeof(clap_process::audio_inputs) == 8);
static_assert(offsetof(clap_process, audio_outputs) == 32 && sizeof(clap_process::audio_outputs) == 8);
static_assert(offsetof(clap_process, audio_inputs_count) == 40 && sizeof(clap_process::audio_inputs_count) == 4);
static_assert(offsetof(clap_process, audio_outputs_count) == 44 && sizeof(clap_process::audio_outputs_count) == 4);
static_assert(offsetof(clap_process, in_events) == 48 && sizeof(clap_process::in_events) == 8);
static_assert(offsetof(clap_process, out_events) == 56 && sizeof(clap_process::out_events) == 8);

// fixedpoint.h
static_assert(sizeof(clap_beattime) == 8 && std::is_integral_v<clap_beattime> && std::is_signed_v<clap_beattime>);
static_assert(sizeof(clap_sectime) == 8 && std::is_integral_v<clap_sectime> && std::is_signed_v<clap_sectime>);

// id.h
static_assert(sizeof(clap_id) == 4 && std::is_integral_v<clap_id> && std::is_unsigned_v<clap_id>);

// color.h
static_assert(sizeof(clap_color) == 4 && alignof(clap_color) == 1);
static_assert(std::is_same_v<clap_color, clap_color_t>);
static_assert(offsetof(clap_color, alpha) == 0 && sizeof(clap_color::alpha) == 1);
static_assert(offsetof(clap_color, red) == 1 && sizeof(clap_color::red) == 1);
static_assert(offsetof(clap_color, green) == 2 && sizeof(clap_color::green) == 1);
static_assert(offsetof(clap_color, blue) == 3 && sizeof(clap_color::blue) == 1);

// ext/audio-ports.h
static_assert(sizeof(clap_audio_port_info) == 288 && alignof(clap_audio_port_info) == 8);
static_assert(std::is_same_v<clap_audio_port_info, clap_audio_port_info_t>);
static_assert(offsetof(clap_audio_port_info, id) == 0 && sizeof(clap_audio_port_info::id) == 4);
static_assert(offsetof(clap_audio_port_info, name) == 4 && sizeof(clap_audio_port_info::name) == 256);
static_assert(offsetof(clap_audio_port_info, flags) == 260 && sizeof(clap_audio_port_info::flags) == 4);
static_assert(offsetof(clap_audio_port_info, channel_count) == 264 && sizeof(clap_audio_port_info::channel_count) == 4);
static_assert(offsetof(clap_audio_port_info, port_type) == 272 && sizeof(clap_audio_port_info::port_type) == 8);
static_assert(offsetof(clap_audio_port_info, in_place_pair) == 280 && sizeof(clap_audio_port_info::in_place_pair) == 4);
static_assert(sizeof(clap_plugin_audio_ports) == 16 && alignof(clap_plugin_audio_ports) == 8);
static_assert(std::is_same_v<clap_plugin_audio_ports, clap_plugin_audio_ports_t>);
static_assert(offsetof(clap_plugin_audio_ports, count) == 0 && sizeof(clap_plugin_audio_ports::count) == 8);
static_assert(offsetof(clap_plugin_audio_ports, get) == 8 && sizeof(clap_plugin_audio_ports::get) == 8);
static_assert(sizeof(clap_host_audio_ports) == 16 && alignof(clap_host_audio_ports) == 8);
static_assert(std::is_same_v<clap_host_audio_ports, clap_host_audio_ports_t>);
static_assert(offsetof(clap_host_audio_ports, is_rescan_flag_supported) == 0 &&
              sizeof(clap_host_audio_ports::is_rescan_flag_supported) == 8);
static_assert(offsetof(clap_host_audio_ports, rescan) == 8 && sizeof(clap_host_audio_ports::rescan) == 8);

// ext/audio-ports-config.h
static_assert(sizeof(clap_audio_ports_config) == 304 && alignof(clap_audio_ports_config) == 8);
static_assert(std::is_same_v<clap_audio_ports_config, clap_audio_ports_config_t>);
static_assert(offsetof(clap_audio_ports_config, id) == 0 && sizeof(clap_audio_ports_config::id) == 4);
static_assert(offsetof(clap_audio_ports_config, name) == 4 && sizeof(clap_audio_ports_config::name) == 256);
static_assert(offsetof(clap_audio_ports_config, input_port_count) == 260 &&
              sizeof(clap_audio_ports_config::input_port_count) == 4);
static_assert(offsetof(clap_audio_ports_config, output_port_count) == 264 &&
              sizeof(clap_audio_ports_config::output_port_count) == 4);
static_assert(offsetof(clap_audio_ports_config, has_main_input) == 268 &&
              sizeof(clap_audio_ports_config::has_main_input) == 1);
static_assert(offsetof(clap_audio_ports_config, main_input_channel_count) == 272 &&
              sizeof(clap_audio_ports_config::main_input_channel_count) == 4);
static_assert(offsetof(clap_audio_ports_config, main_input_port_type) == 280 &&
              sizeof(clap_audio_ports_config::main_input_port_type) == 8);
static_assert(offsetof(clap_audio_ports_config, has_main_output) == 288 &&
              sizeof(clap_audio_ports_config::has_main_output) == 1);
static_assert(offsetof(clap_audio_ports_config, main_output_channel_count) == 292 &&
              sizeof(clap_audio_ports_config::main_output_channel_count) == 4);
static_assert(offsetof(clap_audio_ports_config, main_output_port_type) == 296 &&
              sizeof(clap_audio_ports_config::main_output_port_type) == 8);
static_assert(sizeof(clap_plugin_audio_ports_config) == 24 && alignof(clap_plugin_audio_ports_config) == 8);
static_assert(std::is_same_v<clap_plugin_audio_ports_config, clap_plugin_audio_ports_config_t>);
static_assert(offsetof(clap_plugin_audio_ports_config, count) == 0 &&
              sizeof(clap_plugin_audio_ports_config::count) == 8);
static_assert(offsetof(clap_plugin_audio_ports_config, get) == 8 && sizeof(clap_plugin_audio_ports_config::get) == 8);
static_assert(offsetof(clap_plugin_audio_ports_config, select) == 16 &&
              sizeof(clap_plugin_audio_ports_config::select) == 8);
static_assert(sizeof(clap_plugin_audio_ports_config_info) == 16 && alignof(clap_plugin_audio_ports_config_info) == 8);
static_assert(std::is_same_v<clap_plugin_audio_ports_config_info, clap_plugin_audio_ports_config_info_t>);
static_assert(offsetof(clap_plugin_audio_ports_config_info, current_config) == 0 &&
              sizeof(clap_plugin_audio_ports_config_info::current_config) == 8);
static_assert(offsetof(clap_plugin_audio_ports_config_info, get) == 8 &&
              sizeof(clap_plugin_audio_ports_config_info::get) == 8);
static_assert(sizeof(clap_host_audio_ports_config) == 8 && alignof(clap_host_audio_ports_config) == 8);
static_assert(std::is_same_v<clap_host_audio_ports_config, clap_host_audio_ports_config_t>);
static_assert(offsetof(clap_host_audio_ports_config, rescan) == 0 && sizeof(clap_host_audio_ports_config::rescan) == 8);

// ext/params.h
static_assert(sizeof(clap_param_info_flags) == 4 && std::is_integral_v<clap_param_info_flags> &&
              std::is_unsigned_v<clap_param_info_flags>);
static_assert(sizeof(clap_param_rescan_flags) == 4 && std::is_integral_v<clap_param_rescan_flags> &&
              std::is_unsigned_v<clap_param_rescan_flags>);
static_assert(sizeof(clap_param_clear_flags) == 4 && std::is_integral_v<clap_param_clear_flags> &&
              std::is_unsigned_v<clap_param_clear_flags>);
static_assert(sizeof(clap_param_info) == 1320 && alignof(clap_param_info) == 8);
static_assert(std::is_same_v<clap_param_info, clap_param_info_t>);
static_assert(offsetof(clap_param_info, id) == 0 && sizeof(clap_param_info::id) == 4);
static_assert(offsetof(clap_param_info, flags) == 4 && sizeof(clap_param_info::flags) == 4);
static_assert(offsetof(clap_param_info, cookie) == 8 && sizeof(clap_param_info::cookie) == 8);
static_assert(offsetof(clap_param_info, name) == 16 && sizeof(clap_param_info::name) == 256);
static_assert(offsetof(clap_param_info, module) == 272 && sizeof(clap_param_info::module) == 1024);
static_assert(offsetof(clap_param_info, min_value) == 1296 && sizeof(clap_param_info::min_value) == 8);
static_assert(offsetof(clap_param_info, max_value) == 1304 && sizeof(clap_param_info::max_value) == 8);
static_assert(offsetof(clap_param_info, default_value) == 1312 && sizeof(clap_param_info::default_value) == 8);
static_assert(sizeof(clap_plugin_params) == 48 && alignof(clap_plugin_params) == 8);
static_assert(std::is_same_v<clap_plugin_params, clap_plugin_params_t>);
static_assert(offsetof(clap_plugin_params, count) == 0 && sizeof(clap_plugin_params::count) == 8);
static_assert(offsetof(clap_plugin_params, get_info) == 8 && sizeof(clap_plugin_params::get_info) == 8);
static_assert(offsetof(clap_plugin_params, get_value) == 16 && sizeof(clap_plugin_params::get_value) == 8);
static_assert(offsetof(clap_plugin_params, value_to_text) == 24 && sizeof(clap_plugin_params::value_to_text) == 8);
static_assert(offsetof(clap_plugin_params, text_to_value) == 32 && sizeof(clap_plugin_params::text_to_value) == 8);
static_assert(offsetof(clap_plugin_params, flush) == 40 && sizeof(clap_plugin_params::flush) == 8);
static_assert(sizeof(clap_host_params) == 24 && alignof(clap_host_params) == 8);
static_assert(std::is_same_v<clap_host_params, clap_host_params_t>);
static_assert(offsetof(clap_host_params, rescan) == 0 && sizeof(clap_host_params::rescan) == 8);
static_assert(offsetof(clap_host_params, clear) == 8 && sizeof(clap_host_params::clear) == 8);
static_assert(offsetof(clap_host_params, request_flush) == 16 && sizeof(clap_host_params::request_flush) == 8);

// ext/state.h
static_assert(sizeof(clap_plugin_state) == 16 && alignof(clap_plugin_state) == 8);
static_assert(std::is_same_v<clap_plugin_state, clap_plugin_state_t>);
static_assert(offsetof(clap_plugin_state, save) == 0 && sizeof(clap_plugin_state::save) == 8);
static_assert(offsetof(clap_plugin_state, load) == 8 && sizeof(clap_plugin_state::load) == 8);
static_assert(sizeof(clap_host_state) == 8 && alignof(clap_host_state) == 8);
static_assert(std::is_same_v<clap_host_state, clap_host_state_t>);
static_assert(offsetof(clap_host_state, mark_dirty) == 0 && sizeof(clap_host_state::mark_dirty) == 8);

// ext/latency.h
static_assert(sizeof(clap_plugin_latency) == 8 && alignof(clap_plugin_latency) == 8);
static_assert(std::is_same_v<clap_plugin_latency, clap_plugin_latency_t>);
static_assert(offsetof(clap_plugin_latency, get) == 0 && sizeof(clap_plugin_latency::get) == 8);
static_assert(sizeof(clap_host_latency) == 8 && alignof(clap_host_latency) == 8);
static_assert(std::is_same_v<clap_host_latency, clap_host_latency_t>);
static_assert(offsetof(clap_host_latency, changed) == 0 && sizeof(clap_host_latency::changed) == 8);

// ext/tail.h
static_assert(sizeof(clap_plugin_tail) == 8 && alignof(clap_plugin_tail) == 8);
static_assert(std::is_same_v<clap_plugin_tail, clap_plugin_tail_t>);
static_assert(offsetof(clap_plugin_tail, get) == 0 && sizeof(clap_plugin_tail::get) == 8);
static_assert(sizeof(clap_host_tail) == 8 && alignof(clap_host_tail) == 8);
static_assert(std::is_same_v<clap_host_tail, clap_host_tail_t>);
static_assert(offsetof(clap_host_tail, changed) == 0 && sizeof(clap_host_tail::changed) == 8);

// ext/render.h
static_assert(sizeof(clap_plugin_render_mode) == 4 && std::is_integral_v<clap_plugin_render_mode> &&
              std::is_signed_v<clap_plugin_render_mode>);
static_assert(sizeof(clap_plugin_render) == 16 && alignof(clap_plugin_render) == 8);
static_assert(std::is_same_v<clap_plugin_render, clap_plugin_render_t>);
static_assert(offsetof(clap_plugin_render, has_hard_realtime_requirement) == 0 &&
              sizeof(clap_plugin_render::has_hard_realtime_requirement) == 8);
static_assert(offsetof(clap_plugin_render, set) == 8 && sizeof(clap_plugin_render::set) == 8);

// ext/gui.h
static_assert(sizeof(clap_hwnd) == 8 && std::is_pointer_v<clap_hwnd>);
static_assert(sizeof(clap_nsview) == 8 && std::is_pointer_v<clap_nsview>);
static_assert(sizeof(clap_uiview) == 8 && std::is_pointer_v<clap_uiview>);
static_assert(sizeof(clap_xwnd) == 8 && std::is_integral_v<clap_xwnd> && std::is_unsigned_v<clap_xwnd>);
static_assert(sizeof(clap_window) == 16 && alignof(clap_window) == 8);
static_assert(std::is_same_v<clap_window, clap_window_t>);
static_assert(offsetof(clap_window, api) == 0 && sizeof(clap_window::api) == 8);
static_assert(offsetof(clap_window, cocoa) == 8 && sizeof(clap_window::cocoa) == 8);
static_assert(offsetof(clap_window, uikit) == 8 && sizeof(clap_window::uikit) == 8);
static_assert(offsetof(clap_window, x11) == 8 && sizeof(clap_window::x11) == 8);
static_assert(offsetof(clap_window, win32) == 8 && sizeof(clap_window::win32) == 8);
static_assert(offsetof(clap_window, ptr) == 8 && sizeof(clap_window::ptr) == 8);
static_assert(sizeof(clap_gui_resize_hints) == 12 && alignof(clap_gui_resize_hints) == 4);
static_assert(std::is_same_v<clap_gui_resize_hints, clap_gui_resize_hints_t>);
static_assert(offsetof(clap_gui_resize_hints, can_resize_horizontally) == 0 &&
              sizeof(clap_gui_resize_hints::can_resize_horizontally) == 1);
static_assert(offsetof(clap_gui_resize_hints, can_resize_vertically) == 1 &&
              sizeof(clap_gui_resize_hints::can_resize_vertically) == 1);
static_assert(offsetof(clap_gui_resize_hints, preserve_aspect_ratio) == 2 &&
              sizeof(clap_gui_resize_hints::preserve_aspect_ratio) == 1);
static_assert(offsetof(clap_gui_resize_hints, aspect_ratio_width) == 4 &&
              sizeof(clap_gui_resize_hints::aspect_ratio_width) == 4);
static_assert(offsetof(clap_gui_resize_hints, aspect_ratio_height) == 8 &&
              sizeof(clap_gui_resize_hints::aspect_ratio_height) == 4);
static_assert(sizeof(clap_plugin_gui) == 120 && alignof(clap_plugin_gui) == 8);
static_assert(std::is_same_v<clap_plugin_gui, clap_plugin_gui_t>);
static_assert(offsetof(clap_plugin_gui, is_api_supported) == 0 && sizeof(clap_plugin_gui::is_api_supported) == 8);
static_assert(offsetof(clap_plugin_gui, get_preferred_api) == 8 && sizeof(clap_plugin_gui::get_preferred_api) == 8);
static_assert(offsetof(clap_plugin_gui, create) == 16 && sizeof(clap_plugin_gui::create) == 8);
static_assert(offsetof(clap_plugin_gui, destroy) == 24 && sizeof(clap_plugin_gui::destroy) == 8);
static_assert(offsetof(clap_plugin_gui, set_scale) == 32 && sizeof(clap_plugin_gui::set_scale) == 8);
static_assert(offsetof(clap_plugin_gui, get_size) == 40 && sizeof(clap_plugin_gui::get_size) == 8);
static_assert(offsetof(clap_plugin_gui, can_resize) == 48 && sizeof(clap_plugin_gui::can_resize) == 8);
static_assert(offsetof(clap_plugin_gui, get_resize_hints) == 56 && sizeof(clap_plugin_gui::get_resize_hints) == 8);
static_assert(offsetof(clap_plugin_gui, adjust_size) == 64 && sizeof(clap_plugin_gui::adjust_size) == 8);
static_assert(offsetof(clap_plugin_gui, set_size) == 72 && sizeof(clap_plugin_gui::set_size) == 8);
static_assert(offsetof(clap_plugin_gui, set_parent) == 80 && sizeof(clap_plugin_gui::set_parent) == 8);
static_assert(offsetof(clap_plugin_gui, set_transient) == 88 && sizeof(clap_plugin_gui::set_transient) == 8);
static_assert(offsetof(clap_plugin_gui, suggest_title) == 96 && sizeof(clap_plugin_gui::suggest_title) == 8);
static_assert(offsetof(clap_plugin_gui, show) == 104 && sizeof(clap_plugin_gui::show) == 8);
static_assert(offsetof(clap_plugin_gui, hide) == 112 && sizeof(clap_plugin_gui::hide) == 8);
static_assert(sizeof(clap_host_gui) == 40 && alignof(clap_host_gui) == 8);
static_assert(std::is_same_v<clap_host_gui, clap_host_gui_t>);
static_assert(offsetof(clap_host_gui, resize_hints_changed) == 0 && sizeof(clap_host_gui::resize_hints_changed) == 8);
static_assert(offsetof(clap_host_gui, request_resize) == 8 && sizeof(clap_host_gui::request_resize) == 8);
static_assert(offsetof(clap_host_gui, request_show) == 16 && sizeof(clap_host_gui::request_show) == 8);
static_assert(offsetof(clap_host_gui, request_hide) == 24 && sizeof(clap_host_gui::request_hide) == 8);
static_assert(offsetof(clap_host_gui, closed) == 32 && sizeof(clap_host_gui::closed) == 8);

// ext/timer-support.h
static_assert(sizeof(clap_plugin_timer_support) == 8 && alignof(clap_plugin_timer_support) == 8);
static_assert(std::is_same_v<clap_plugin_timer_support, clap_plugin_timer_support_t>);
static_assert(offsetof(clap_plugin_timer_support, on_timer) == 0 && sizeof(clap_plugin_timer_support::on_timer) == 8);
static_assert(sizeof(clap_host_timer_support) == 16 && alignof(clap_host_timer_support) == 8);
static_assert(std::is_same_v<clap_host_timer_support, clap_host_timer_support_t>);
static_assert(offsetof(clap_host_timer_support, register_timer) == 0 &&
              sizeof(clap_host_timer_support::register_timer) == 8);
static_assert(offsetof(clap_host_timer_support, unregister_timer) == 8 &&
              sizeof(clap_host_timer_support::unregister_timer) == 8);

// ext/posix-fd-support.h
static_assert(sizeof(clap_posix_fd_flags_t) == 4 && std::is_integral_v<clap_posix_fd_flags_t> &&
              std::is_unsigned_v<clap_posix_fd_flags_t>);
static_assert(sizeof(clap_plugin_posix_fd_support) == 8 && alignof(clap_plugin_posix_fd_support) == 8);
static_assert(std::is_same_v<clap_plugin_posix_fd_support, clap_plugin_posix_fd_support_t>);
static_assert(offsetof(clap_plugin_posix_fd_support, on_fd) == 0 && sizeof(clap_plugin_posix_fd_support::on_fd) == 8);
static_assert(sizeof(clap_host_posix_fd_support) == 24 && alignof(clap_host_posix_fd_support) == 8);
static_assert(std::is_same_v<clap_host_posix_fd_support, clap_host_posix_fd_support_t>);
static_assert(offsetof(clap_host_posix_fd_support, register_fd) == 0 &&
              sizeof(clap_host_posix_fd_support::register_fd) == 8);
static_assert(offsetof(clap_host_posix_fd_support, modify_fd) == 8 &&
              sizeof(clap_host_posix_fd_support::modify_fd) == 8);
static_assert(offsetof(clap_host_posix_fd_support, unregister_fd) == 16 &&
              sizeof(clap_host_posix_fd_support::unregister_fd) == 8);

// ext/log.h
static_assert(sizeof(clap_log_severity) == 4 && std::is_integral_v<clap_log_severity> &&
              std::is_signed_v<clap_log_severity>);
static_assert(sizeof(clap_host_log) == 8 && alignof(clap_host_log) == 8);
static_assert(std::is_same_v<clap_host_log, clap_host_log_t>);
static_assert(offsetof(clap_host_log, log) == 0 && sizeof(clap_host_log::log) == 8);

// ext/thread-check.h
static_assert(sizeof(clap_host_thread_check) == 16 && alignof(clap_host_thread_check) == 8);
static_assert(std::is_same_v<clap_host_thread_check, clap_host_thread_check_t>);
static_assert(offsetof(clap_host_thread_check, is_main_thread) == 0 &&
              sizeof(clap_host_thread_check::is_main_thread) == 8);
static_assert(offsetof(clap_host_thread_check, is_audio_thread) == 8 &&
              sizeof(clap_host_thread_check::is_audio_thread) == 8);

// ext/track-info.h
static_assert(sizeof(clap_track_info) == 280 && alignof(clap_track_info) == 8);
static_assert(std::is_same_v<clap_track_info, clap_track_info_t>);
static_assert(offsetof(clap_track_info, flags) == 0 && sizeof(clap_track_info::flags) == 8);
static_assert(offsetof(clap_track_info, name) == 8 && sizeof(clap_track_info::name) == 256);
static_assert(offsetof(clap_track_info, color) == 264 && sizeof(clap_track_info::color) == 4);
static_assert(offsetof(clap_track_info, audio_channel_count) == 268 &&
              sizeof(clap_track_info::audio_channel_count) == 4);
static_assert(offsetof(clap_track_info, audio_port_type) == 272 && sizeof(clap_track_info::audio_port_type) == 8);
static_assert(sizeof(clap_plugin_track_info) == 8 && alignof(clap_plugin_track_info) == 8);
static_assert(std::is_same_v<clap_plugin_track_info, clap_plugin_track_info_t>);
static_assert(offsetof(clap_plugin_track_info, changed) == 0 && sizeof(clap_plugin_track_info::changed) == 8);
static_assert(sizeof(clap_host_track_info) == 8 && alignof(clap_host_track_info) == 8);
static_assert(std::is_same_v<clap_host_track_info, clap_host_track_info_t>);
static_assert(offsetof(clap_host_track_info, get) == 0 && sizeof(clap_host_track_info::get) == 8);

// ext/note-ports.h
static_assert(sizeof(clap_note_port_info) == 268 && alignof(clap_note_port_info) == 4);
static_assert(std::is_same_v<clap_note_port_info, clap_note_port_info_t>);
static_assert(offsetof(clap_note_port_info, id) == 0 && sizeof(clap_note_port_info::id) == 4);
static_assert(offsetof(clap_note_port_info, supported_dialects) == 4 &&
              sizeof(clap_note_port_info::supported_dialects) == 4);
static_assert(offsetof(clap_note_port_info, preferred_dialect) == 8 &&
              sizeof(clap_note_port_info::preferred_dialect) == 4);
static_assert(offsetof(clap_note_port_info, name) == 12 && sizeof(clap_note_port_info::name) == 256);
static_assert(sizeof(clap_plugin_note_ports) == 16 && alignof(clap_plugin_note_ports) == 8);
static_assert(std::is_same_v<clap_plugin_note_ports, clap_plugin_note_ports_t>);
static_assert(offsetof(clap_plugin_note_ports, count) == 0 && sizeof(clap_plugin_note_ports::count) == 8);
static_assert(offsetof(clap_plugin_note_ports, get) == 8 && sizeof(clap_plugin_note_ports::get) == 8);
static_assert(sizeof(clap_host_note_ports) == 16 && alignof(clap_host_note_ports) == 8);
static_assert(std::is_same_v<clap_host_note_ports, clap_host_note_ports_t>);
static_assert(offsetof(clap_host_note_ports, supported_dialects) == 0 &&
              sizeof(clap_host_note_ports::supported_dialects) == 8);
static_assert(offsetof(clap_host_note_ports, rescan) == 8 && sizeof(clap_host_note_ports::rescan) == 8);

// factory/plugin-factory.h
static_assert(std::string_view(CLAP_PLUGIN_FACTORY_ID) == "clap.plugin-factory");

// version.h
static_assert(CLAP_VERSION_MAJOR == 1 && std::is_same_v<decltype(CLAP_VERSION_MAJOR), const int>);
static_assert(CLAP_VERSION_MINOR == 2 && std::is_same_v<decltype(CLAP_VERSION_MINOR), const int>);
static_assert(CLAP_VERSION_REVISION == 10 && std::is_same_v<decltype(CLAP_VERSION_REVISION), const int>);

// plugin-features.h
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_INSTRUMENT) == "instrument");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_AUDIO_EFFECT) == "audio-effect");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_NOTE_EFFECT) == "note-effect");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_NOTE_DETECTOR) == "note-detector");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_ANALYZER) == "analyzer");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_SYNTHESIZER) == "synthesizer");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_SAMPLER) == "sampler");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_DRUM) == "drum");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_DRUM_MACHINE) == "drum-machine");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_FILTER) == "filter");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_PHASER) == "phaser");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_EQUALIZER) == "equalizer");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_DEESSER) == "de-esser");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_PHASE_VOCODER) == "phase-vocoder");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_GRANULAR) == "granular");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_FREQUENCY_SHIFTER) == "frequency-shifter");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_PITCH_SHIFTER) == "pitch-shifter");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_DISTORTION) == "distortion");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_TRANSIENT_SHAPER) == "transient-shaper");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_COMPRESSOR) == "compressor");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_EXPANDER) == "expander");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_GATE) == "gate");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_LIMITER) == "limiter");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_FLANGER) == "flanger");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_CHORUS) == "chorus");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_DELAY) == "delay");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_REVERB) == "reverb");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_TREMOLO) == "tremolo");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_GLITCH) == "glitch");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_UTILITY) == "utility");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_PITCH_CORRECTION) == "pitch-correction");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_RESTORATION) == "restoration");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_MULTI_EFFECTS) == "multi-effects");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_MIXING) == "mixing");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_MASTERING) == "mastering");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_MONO) == "mono");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_STEREO) == "stereo");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_SURROUND) == "surround");
static_assert(std::string_view(CLAP_PLUGIN_FEATURE_AMBISONIC) == "ambisonic");

// events.h
static_assert(CLAP_EVENT_IS_LIVE == 1 && std::is_same_v<decltype(CLAP_EVENT_IS_LIVE), const int>);
static_assert(CLAP_EVENT_DONT_RECORD == 2 && std::is_same_v<decltype(CLAP_EVENT_DONT_RECORD), const int>);
static_assert(CLAP_EVENT_NOTE_ON == 0 && std::is_same_v<decltype(CLAP_EVENT_NOTE_ON), const int>);
static_assert(CLAP_EVENT_NOTE_OFF == 1 && std::is_same_v<decltype(CLAP_EVENT_NOTE_OFF), const int>);
static_assert(CLAP_EVENT_NOTE_CHOKE == 2 && std::is_same_v<decltype(CLAP_EVENT_NOTE_CHOKE), const int>);
static_assert(CLAP_EVENT_NOTE_END == 3 && std::is_same_v<decltype(CLAP_EVENT_NOTE_END), const int>);
static_assert(CLAP_EVENT_NOTE_EXPRESSION == 4 && std::is_same_v<decltype(CLAP_EVENT_NOTE_EXPRESSION), const int>);
static_assert(CLAP_EVENT_PARAM_VALUE == 5 && std::is_same_v<decltype(CLAP_EVENT_PARAM_VALUE), const int>);
static_assert(CLAP_EVENT_PARAM_MOD == 6 && std::is_same_v<decltype(CLAP_EVENT_PARAM_MOD), const int>);
static_assert(CLAP_EVENT_PARAM_GESTURE_BEGIN == 7 &&
              std::is_same_v<decltype(CLAP_EVENT_PARAM_GESTURE_BEGIN), const int>);
static_assert(CLAP_EVENT_PARAM_GESTURE_END == 8 && std::is_same_v<decltype(CLAP_EVENT_PARAM_GESTURE_END), const int>);
static_assert(CLAP_EVENT_TRANSPORT == 9 && std::is_same_v<decltype(CLAP_EVENT_TRANSPORT), const int>);
static_assert(CLAP_EVENT_MIDI == 10 && std::is_same_v<decltype(CLAP_EVENT_MIDI), const int>);
static_assert(CLAP_EVENT_MIDI_SYSEX == 11 && std::is_same_v<decltype(CLAP_EVENT_MIDI_SYSEX), const int>);
static_assert(CLAP_EVENT_MIDI2 == 12 && std::is_same_v<decltype(CLAP_EVENT_MIDI2), const int>);
static_assert(CLAP_NOTE_EXPRESSION_VOLUME == 0 && std::is_same_v<decltype(CLAP_NOTE_EXPRESSION_VOLUME), const int>);
static_assert(CLAP_NOTE_EXPRESSION_PAN == 1 && std::is_same_v<decltype(CLAP_NOTE_EXPRESSION_PAN), const int>);
static_assert(CLAP_NOTE_EXPRESSION_TUNING == 2 && std::is_same_v<decltype(CLAP_NOTE_EXPRESSION_TUNING), const int>);
static_assert(CLAP_NOTE_EXPRESSION_VIBRATO == 3 && std::is_same_v<decltype(CLAP_NOTE_EXPRESSION_VIBRATO), const int>);
static_assert(CLAP_NOTE_EXPRESSION_EXPRESSION == 4 &&
              std::is_same_v<decltype(CLAP_NOTE_EXPRESSION_EXPRESSION), const int>);
static_assert(CLAP_NOTE_EXPRESSION_BRIGHTNESS == 5 &&
              std::is_same_v<decltype(CLAP_NOTE_EXPRESSION_BRIGHTNESS), const int>);
static_assert(CLAP_NOTE_EXPRESSION_PRESSURE == 6 && std::is_same_v<decltype(CLAP_NOTE_EXPRESSION_PRESSURE), const int>);
static_assert(CLAP_TRANSPORT_HAS_TEMPO == 1 && std::is_same_v<decltype(CLAP_TRANSPORT_HAS_TEMPO), const int>);
static_assert(CLAP_TRANSPORT_HAS_BEATS_TIMELINE == 2 &&
              std::is_same_v<decltype(CLAP_TRANSPORT_HAS_BEATS_TIMELINE), const int>);
static_assert(CLAP_TRANSPORT_HAS_SECONDS_TIMELINE == 4 &&
              std::is_same_v<decltype(CLAP_TRANSPORT_HAS_SECONDS_TIMELINE), const int>);
static_assert(CLAP_TRANSPORT_HAS_TIME_SIGNATURE == 8 &&
              std::is_same_v<decltype(CLAP_TRANSPORT_HAS_TIME_SIGNATURE), const int>);
static_assert(CLAP_TRANSPORT_IS_PLAYING == 16 && std::is_same_v<decltype(CLAP_TRANSPORT_IS_PLAYING), const int>);
static_assert(CLAP_TRANSPORT_IS_RECORDING == 32 && std::is_same_v<decltype(CLAP_TRANSPORT_IS_RECORDING), const int>);
static_assert(CLAP_TRANSPORT_IS_LOOP_ACTIVE == 64 &&
              std::is_same_v<decltype(CLAP_TRANSPORT_IS_LOOP_ACTIVE), const int>);
static_assert(CLAP_TRANSPORT_IS_WITHIN_PRE_ROLL == 128 &&
              std::is_same_v<decltype(CLAP_TRANSPORT_IS_WITHIN_PRE_ROLL), const int>);
static_assert(CLAP_CORE_EVENT_SPACE_ID == 0 && std::is_same_v<decltype(CLAP_CORE_EVENT_SPACE_ID), const std::uint16_t>);

// process.h
static_assert(CLAP_PROCESS_ERROR == 0 && std::is_same_v<decltype(CLAP_PROCESS_ERROR), const int>);
static_assert(CLAP_PROCESS_CONTINUE == 1 && std::is_same_v<decltype(CLAP_PROCESS_CONTINUE), const int>);
static_assert(CLAP_PROCESS_CONTINUE_IF_NOT_QUIET == 2 &&
              std::is_same_v<decltype(CLAP_PROCESS_CONTINUE_IF_NOT_QUIET), const int>);
static_assert(CLAP_PROCESS_TAIL == 3 && std::is_same_v<decltype(CLAP_PROCESS_TAIL), const int>);
static_assert(CLAP_PROCESS_SLEEP == 4 && std::is_same_v<decltype(CLAP_PROCESS_SLEEP), const int>);

// fixedpoint.h
static_assert(CLAP_BEATTIME_FACTOR == 2147483648LL &&
              std::is_same_v<decltype(CLAP_BEATTIME_FACTOR), const std::int64_t>);
static_assert(CLAP_SECTIME_FACTOR == 2147483648LL && std::is_same_v<decltype(CLAP_SECTIME_FACTOR), const std::int64_t>);

// id.h
static_assert(CLAP_INVALID_ID == 4294967295U && std::is_same_v<decltype(CLAP_INVALID_ID), const std::uint32_t>);

// string-sizes.h
static_assert(CLAP_NAME_SIZE == 256 && std::is_same_v<decltype(CLAP_NAME_SIZE), const int>);
static_assert(CLAP_PATH_SIZE == 1024 && std::is_same_v<decltype(CLAP_PATH_SIZE), const int>);

// ext/audio-ports.h
static_assert(CLAP_AUDIO_PORT_IS_MAIN == 1 && std::is_same_v<decltype(CLAP_AUDIO_PORT_IS_MAIN), const int>);
static_assert(CLAP_AUDIO_PORT_SUPPORTS_64BITS == 2 &&
              std::is_same_v<decltype(CLAP_AUDIO_PORT_SUPPORTS_64BITS), const int>);
static_assert(CLAP_AUDIO_PORT_PREFERS_64BITS == 4 &&
              std::is_same_v<decltype(CLAP_AUDIO_PORT_PREFERS_64BITS), const int>);
static_assert(CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE == 8 &&
              std::is_same_v<decltype(CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE), const int>);
static_assert(CLAP_AUDIO_PORTS_RESCAN_NAMES == 1 && std::is_same_v<decltype(CLAP_AUDIO_PORTS_RESCAN_NAMES), const int>);
static_assert(CLAP_AUDIO_PORTS_RESCAN_FLAGS == 2 && std::is_same_v<decltype(CLAP_AUDIO_PORTS_RESCAN_FLAGS), const int>);
static_assert(CLAP_AUDIO_PORTS_RESCAN_CHANNEL_COUNT == 4 &&
              std::is_same_v<decltype(CLAP_AUDIO_PORTS_RESCAN_CHANNEL_COUNT), const int>);
static_assert(CLAP_AUDIO_PORTS_RESCAN_PORT_TYPE == 8 &&
              std::is_same_v<decltype(CLAP_AUDIO_PORTS_RESCAN_PORT_TYPE), const int>);
static_assert(CLAP_AUDIO_PORTS_RESCAN_IN_PLACE_PAIR == 16 &&
              std::is_same_v<decltype(CLAP_AUDIO_PORTS_RESCAN_IN_PLACE_PAIR), const int>);
static_assert(CLAP_AUDIO_PORTS_RESCAN_LIST == 32 && std::is_same_v<decltype(CLAP_AUDIO_PORTS_RESCAN_LIST), const int>);
static_assert(std::string_view(CLAP_EXT_AUDIO_PORTS) == "clap.audio-ports");
static_assert(std::string_view(CLAP_PORT_MONO) == "mono");
static_assert(std::string_view(CLAP_PORT_STEREO) == "stereo");

// ext/audio-ports-config.h
static_assert(std::string_view(CLAP_EXT_AUDIO_PORTS_CONFIG) == "clap.audio-ports-config");
static_assert(std::string_view(CLAP_EXT_AUDIO_PORTS_CONFIG_INFO) == "clap.audio-ports-config-info/1");
static_assert(std::string_view(CLAP_EXT_AUDIO_PORTS_CONFIG_INFO_COMPAT) == "clap.audio-ports-config-info/draft-0");

// ext/params.h
static_assert(CLAP_PARAM_IS_STEPPED == 1 && std::is_same_v<decltype(CLAP_PARAM_IS_STEPPED), const int>);
static_assert(CLAP_PARAM_IS_PERIODIC == 2 && std::is_same_v<decltype(CLAP_PARAM_IS_PERIODIC), const int>);
static_assert(CLAP_PARAM_IS_HIDDEN == 4 && std::is_same_v<decltype(CLAP_PARAM_IS_HIDDEN), const int>);
static_assert(CLAP_PARAM_IS_READONLY == 8 && std::is_same_v<decltype(CLAP_PARAM_IS_READONLY), const int>);
static_assert(CLAP_PARAM_IS_BYPASS == 16 && std::is_same_v<decltype(CLAP_PARAM_IS_BYPASS), const int>);
static_assert(CLAP_PARAM_IS_AUTOMATABLE == 32 && std::is_same_v<decltype(CLAP_PARAM_IS_AUTOMATABLE), const int>);
static_assert(CLAP_PARAM_IS_AUTOMATABLE_PER_NOTE_ID == 64 &&
              std::is_same_v<decltype(CLAP_PARAM_IS_AUTOMATABLE_PER_NOTE_ID), const int>);
static_assert(CLAP_PARAM_IS_AUTOMATABLE_PER_KEY == 128 &&
              std::is_same_v<decltype(CLAP_PARAM_IS_AUTOMATABLE_PER_KEY), const int>);
static_assert(CLAP_PARAM_IS_AUTOMATABLE_PER_CHANNEL == 256 &&
              std::is_same_v<decltype(CLAP_PARAM_IS_AUTOMATABLE_PER_CHANNEL), const int>);
static_assert(CLAP_PARAM_IS_AUTOMATABLE_PER_PORT == 512 &&
              std::is_same_v<decltype(CLAP_PARAM_IS_AUTOMATABLE_PER_PORT), const int>);
static_assert(CLAP_PARAM_IS_MODULATABLE == 1024 && std::is_same_v<decltype(CLAP_PARAM_IS_MODULATABLE), const int>);
static_assert(CLAP_PARAM_IS_MODULATABLE_PER_NOTE_ID == 2048 &&
              std::is_same_v<decltype(CLAP_PARAM_IS_MODULATABLE_PER_NOTE_ID), const int>);
static_assert(CLAP_PARAM_IS_MODULATABLE_PER_KEY == 4096 &&
              std::is_same_v<decltype(CLAP_PARAM_IS_MODULATABLE_PER_KEY), const int>);
static_assert(CLAP_PARAM_IS_MODULATABLE_PER_CHANNEL == 8192 &&
              std::is_same_v<decltype(CLAP_PARAM_IS_MODULATABLE_PER_CHANNEL), const int>);
static_assert(CLAP_PARAM_IS_MODULATABLE_PER_PORT == 16384 &&
              std::is_same_v<decltype(CLAP_PARAM_IS_MODULATABLE_PER_PORT), const int>);
static_assert(CLAP_PARAM_REQUIRES_PROCESS == 32768 && std::is_same_v<decltype(CLAP_PARAM_REQUIRES_PROCESS), const int>);
static_assert(CLAP_PARAM_IS_ENUM == 65536 && std::is_same_v<decltype(CLAP_PARAM_IS_ENUM), const int>);
static_assert(CLAP_PARAM_RESCAN_VALUES == 1 && std::is_same_v<decltype(CLAP_PARAM_RESCAN_VALUES), const int>);
static_assert(CLAP_PARAM_RESCAN_TEXT == 2 && std::is_same_v<decltype(CLAP_PARAM_RESCAN_TEXT), const int>);
static_assert(CLAP_PARAM_RESCAN_INFO == 4 && std::is_same_v<decltype(CLAP_PARAM_RESCAN_INFO), const int>);
static_assert(CLAP_PARAM_RESCAN_ALL == 8 && std::is_same_v<decltype(CLAP_PARAM_RESCAN_ALL), const int>);
static_assert(CLAP_PARAM_CLEAR_ALL == 1 && std::is_same_v<decltype(CLAP_PARAM_CLEAR_ALL), const int>);
static_assert(CLAP_PARAM_CLEAR_AUTOMATIONS == 2 && std::is_same_v<decltype(CLAP_PARAM_CLEAR_AUTOMATIONS), const int>);
static_assert(CLAP_PARAM_CLEAR_MODULATIONS == 4 && std::is_same_v<decltype(CLAP_PARAM_CLEAR_MODULATIONS), const int>);
static_assert(std::string_view(CLAP_EXT_PARAMS) == "clap.params");

// ext/state.h
static_assert(std::string_view(CLAP_EXT_STATE) == "clap.state");

// ext/latency.h
static_assert(std::string_view(CLAP_EXT_LATENCY) == "clap.latency");

// ext/tail.h
static_assert(std::string_view(CLAP_EXT_TAIL) == "clap.tail");

// ext/render.h
static_assert(CLAP_RENDER_REALTIME == 0 && std::is_same_v<decltype(CLAP_RENDER_REALTIME), const int>);
static_assert(CLAP_RENDER_OFFLINE == 1 && std::is_same_v<decltype(CLAP_RENDER_OFFLINE), const int>);
static_assert(std::string_view(CLAP_EXT_RENDER) == "clap.render");

// ext/gui.h
static_assert(std::string_view(CLAP_EXT_GUI) == "clap.gui");
static_assert(std::string_view(CLAP_WINDOW_API_WIN32) == "win32");
static_assert(std::string_view(CLAP_WINDOW_API_COCOA) == "cocoa");
static_assert(std::string_view(CLAP_WINDOW_API_UIKIT) == "uikit");
static_assert(std::string_view(CLAP_WINDOW_API_X11) == "x11");
static_assert(std::string_view(CLAP_WINDOW_API_WAYLAND) == "wayland");

// ext/timer-support.h
static_assert(std::string_view(CLAP_EXT_TIMER_SUPPORT) == "clap.timer-support");

// ext/posix-fd-support.h
static_assert(CLAP_POSIX_FD_READ == 1 && std::is_same_v<decltype(CLAP_POSIX_FD_READ), const int>);
static_assert(CLAP_POSIX_FD_WRITE == 2 && std::is_same_v<decltype(CLAP_POSIX_FD_WRITE), const int>);
static_assert(CLAP_POSIX_FD_ERROR == 4 && std::is_same_v<decltype(CLAP_POSIX_FD_ERROR), const int>);
static_assert(std::string_view(CLAP_EXT_POSIX_FD_SUPPORT) == "clap.posix-fd-support");

// ext/log.h
static_assert(CLAP_LOG_DEBUG == 0 && std::is_same_v<decltype(CLAP_LOG_DEBUG), const int>);
static_assert(CLAP_LOG_INFO == 1 && std::is_same_v<decltype(CLAP_LOG_INFO), const int>);
static_assert(CLAP_LOG_WARNING == 2 && std::is_same_v<decltype(CLAP_LOG_WARNING), const int>);
static_assert(CLAP_LOG_ERROR == 3 && std::is_same_v<decltype(CLAP_LOG_ERROR), const int>);
static_assert(CLAP_LOG_FATAL == 4 && std::is_same_v<decltype(CLAP_LOG_FATAL), const int>);
static_assert(CLAP_LOG_HOST_MISBEHAVING == 5 && std::is_same_v<decltype(CLAP_LOG_HOST_MISBEHAVING), const int>);
static_assert(CLAP_LOG_PLUGIN_MISBEHAVING == 6 && std::is_same_v<decltype(CLAP_LOG_PLUGIN_MISBEHAVING), const int>);
static_assert(std::string_view(CLAP_EXT_LOG) == "clap.log");

// ext/thread-check.h
static_assert(std::string_view(CLAP_EXT_THREAD_CHECK) == "clap.thread-check");

// ext/track-info.h
static_assert(CLAP_TRACK_INFO_HAS_TRACK_NAME == 1 &&
              std::is_same_v<decltype(CLAP_TRACK_INFO_HAS_TRACK_NAME), const int>);
static_assert(CLAP_TRACK_INFO_HAS_TRACK_COLOR == 2 &&
              std::is_same_v<decltype(CLAP_TRACK_INFO_HAS_TRACK_COLOR), const int>);
static_assert(CLAP_TRACK_INFO_HAS_AUDIO_CHANNEL == 4 &&
              std::is_same_v<decltype(CLAP_TRACK_INFO_HAS_AUDIO_CHANNEL), const int>);
static_assert(CLAP_TRACK_INFO_IS_FOR_RETURN_TRACK == 8 &&
              std::is_same_v<decltype(CLAP_TRACK_INFO_IS_FOR_RETURN_TRACK), const int>);
static_assert(CLAP_TRACK_INFO_IS_FOR_BUS == 16 && std::is_same_v<decltype(CLAP_TRACK_INFO_IS_FOR_BUS), const int>);
static_assert(CLAP_TRACK_INFO_IS_FOR_MASTER == 32 &&
              std::is_same_v<decltype(CLAP_TRACK_INFO_IS_FOR_MASTER), const int>);
static_assert(std::string_view(CLAP_EXT_TRACK_INFO) == "clap.track-info/1");
static_assert(std::string_view(CLAP_EXT_TRACK_INFO_COMPAT) == "clap.track-info.draft/1");

// ext/note-ports.h
static_assert(CLAP_NOTE_DIALECT_CLAP == 1 && std::is_same_v<decltype(CLAP_NOTE_DIALECT_CLAP), const int>);
static_assert(CLAP_NOTE_DIALECT_MIDI == 2 && std::is_same_v<decltype(CLAP_NOTE_DIALECT_MIDI), const int>);
static_assert(CLAP_NOTE_DIALECT_MIDI_MPE == 4 && std::is_same_v<decltype(CLAP_NOTE_DIALECT_MIDI_MPE), const int>);
static_assert(CLAP_NOTE_DIALECT_MIDI2 == 8 && std::is_same_v<decltype(CLAP_NOTE_DIALECT_MIDI2), const int>);
static_assert(CLAP_NOTE_PORTS_RESCAN_ALL == 1 && std::is_same_v<decltype(CLAP_NOTE_PORTS_RESCAN_ALL), const int>);
static_assert(CLAP_NOTE_PORTS_RESCAN_NAMES == 2 && std::is_same_v<decltype(CLAP_NOTE_PORTS_RESCAN_NAMES), const int>);
static_assert(std::string_view(CLAP_EXT_NOTE_PORTS) == "clap.note-ports");

// ext/preset-load.h
static_assert(std::string_view(CLAP_EXT_PRESET_LOAD) == "clap.preset-load/2");
static_assert(std::string_view(CLAP_EXT_PRESET_LOAD_COMPAT) == "clap.preset-load.draft/2");

// ext/ambisonic.h
static_assert(std::string_view(CLAP_EXT_AMBISONIC) == "clap.ambisonic/3");
static_assert(std::string_view(CLAP_EXT_AMBISONIC_COMPAT) == "clap.ambisonic.draft/3");

// ext/audio-ports-activation.h
static_assert(std::string_view(CLAP_EXT_AUDIO_PORTS_ACTIVATION) == "clap.audio-ports-activation/2");
static_assert(std::string_view(CLAP_EXT_AUDIO_PORTS_ACTIVATION_COMPAT) == "clap.audio-ports-activation/draft-2");

// ext/configurable-audio-ports.h
static_assert(std::string_view(CLAP_EXT_CONFIGURABLE_AUDIO_PORTS) == "clap.configurable-audio-ports/1");
static_assert(std::string_view(CLAP_EXT_CONFIGURABLE_AUDIO_PORTS_COMPAT) == "clap.configurable-audio-ports.draft1");

// ext/context-menu.h
static_assert(std::string_view(CLAP_EXT_CONTEXT_MENU) == "clap.context-menu/1");
static_assert(std::string_view(CLAP_EXT_CONTEXT_MENU_COMPAT) == "clap.context-menu.draft/0");

// ext/draft/background-activation.h
static_assert(std::string_view(CLAP_EXT_BACKGROUND_ACTIVATION) == "clap.background-activation/1");

// ext/draft/background-progress.h
static_assert(std::string_view(CLAP_EXT_BACKGROUND_PROGRESS) == "clap.background-progress/1");

// ext/draft/background-state-context.h
static_assert(std::string_view(CLAP_EXT_BACKGROUND_STATE_CONTEXT) == "clap.background-state-context/1");

// ext/draft/extensible-audio-ports.h
static_assert(std::string_view(CLAP_EXT_EXTENSIBLE_AUDIO_PORTS) == "clap.extensible-audio-ports/1");

// ext/draft/flush-events.h
static_assert(std::string_view(CLAP_EXT_FLUSH_EVENTS) == "clap.flush-events/1");

// ext/draft/gain-adjustment-metering.h
static_assert(std::string_view(CLAP_EXT_GAIN_ADJUSTMENT_METERING) == "clap.gain-adjustment-metering/0");

// ext/draft/mini-curve-display.h
static_assert(std::string_view(CLAP_EXT_MINI_CURVE_DISPLAY) == "clap.mini-curve-display/3");

// ext/draft/octave-number.h
static_assert(std::string_view(CLAP_EXT_OCTAVE_NUMBER) == "clap.octave-number/1");

// ext/draft/param-hovered.h
static_assert(std::string_view(CLAP_EXT_PARAM_HOVERED) == "clap.param-hovered/1");

// ext/draft/params-origin.h
static_assert(std::string_view(CLAP_EXT_PARAMS_ORIGIN) == "clap.params-origin/1");

// ext/draft/project-location.h
static_assert(std::string_view(CLAP_EXT_PROJECT_LOCATION) == "clap.project-location/2");

// ext/draft/resource-directory.h
static_assert(std::string_view(CLAP_EXT_RESOURCE_DIRECTORY) == "clap.resource-directory/1");

// ext/draft/scratch-memory.h
static_assert(std::string_view(CLAP_EXT_SCRATCH_MEMORY) == "clap.scratch-memory/1");

// ext/draft/transport-control.h
static_assert(std::string_view(CLAP_EXT_TRANSPORT_CONTROL) == "clap.transport-control/2");

// ext/draft/triggers.h
static_assert(std::string_view(CLAP_EXT_TRIGGERS) == "clap.triggers/1");

// ext/draft/tuning.h
static_assert(std::string_view(CLAP_EXT_TUNING) == "clap.tuning/2");

// ext/draft/undo.h
static_assert(std::string_view(CLAP_EXT_UNDO) == "clap.undo/4");
static_assert(std::string_view(CLAP_EXT_UNDO_CONTEXT) == "clap.undo_context/4");
static_assert(std::string_view(CLAP_EXT_UNDO_DELTA) == "clap.undo_delta/4");

// ext/draft/webview.h
static_assert(std::string_view(CLAP_EXT_WEBVIEW) == "clap.webview/3");

// ext/event-registry.h
static_assert(std::string_view(CLAP_EXT_EVENT_REGISTRY) == "clap.event-registry");

// ext/note-name.h
static_assert(std::string_view(CLAP_EXT_NOTE_NAME) == "clap.note-name");

// ext/param-indication.h
static_assert(std::string_view(CLAP_EXT_PARAM_INDICATION) == "clap.param-indication/4");
static_assert(std::string_view(CLAP_EXT_PARAM_INDICATION_COMPAT) == "clap.param-indication.draft/4");

// ext/remote-controls.h
static_assert(std::string_view(CLAP_EXT_REMOTE_CONTROLS) == "clap.remote-controls/2");
static_assert(std::string_view(CLAP_EXT_REMOTE_CONTROLS_COMPAT) == "clap.remote-controls.draft/2");

// ext/state-context.h
static_assert(std::string_view(CLAP_EXT_STATE_CONTEXT) == "clap.state-context/2");

// ext/surround.h
static_assert(std::string_view(CLAP_EXT_SURROUND) == "clap.surround/4");
static_assert(std::string_view(CLAP_EXT_SURROUND_COMPAT) == "clap.surround.draft/4");

// ext/thread-pool.h
static_assert(std::string_view(CLAP_EXT_THREAD_POOL) == "clap.thread-pool");

// ext/voice-info.h
static_assert(std::string_view(CLAP_EXT_VOICE_INFO) == "clap.voice-info");

// factory/draft/plugin-invalidation.h
static_assert(std::string_view(CLAP_PLUGIN_INVALIDATION_FACTORY_ID) == "clap.plugin-invalidation-factory/1");

// factory/draft/plugin-state-converter.h
static_assert(std::string_view(CLAP_PLUGIN_STATE_CONVERTER_FACTORY_ID) == "clap.plugin-state-converter-factory/1");

// factory/preset-discovery.h
static_assert(std::string_view(CLAP_PRESET_DISCOVERY_FACTORY_ID) == "clap.preset-discovery-factory/2");
static_assert(std::string_view(CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT) == "clap.preset-discovery-factory/draft-2");
