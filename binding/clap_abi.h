// The part of the CLAP 1.2.10 C ABI this project uses: plain records with the standard's names,
// field order and widths, its string ids and constants. The one place that knows the ABI; the
// plug-in binding and the host tools include it. clap_abi_layout_check.cpp pins every layout.
#pragma once

#include <cstddef>
#include <cstdint>

// String capacities of the records below.
inline constexpr int CLAP_NAME_SIZE = 256;
inline constexpr int CLAP_PATH_SIZE = 1024;

extern "C"
{

  // ---- Scalar types ----------------------------------------------------------------------------

  typedef std::uint32_t clap_id;
  typedef std::int64_t clap_beattime; // fixed point, CLAP_BEATTIME_FACTOR units per beat
  typedef std::int64_t clap_sectime;  // fixed point, CLAP_SECTIME_FACTOR units per second
  typedef std::int32_t clap_process_status;
  typedef std::int32_t clap_note_expression;
  typedef std::uint32_t clap_param_info_flags;
  typedef std::uint32_t clap_param_rescan_flags;
  typedef std::uint32_t clap_param_clear_flags;
  typedef std::int32_t clap_plugin_render_mode;
  typedef std::int32_t clap_log_severity;
  typedef std::uint32_t clap_posix_fd_flags_t;
  typedef void* clap_hwnd;
  typedef void* clap_nsview;
  typedef void* clap_uiview;
  typedef unsigned long clap_xwnd;

  // ---- Version, entry, factory, descriptor -----------------------------------------------------

  typedef struct clap_version
  {
    std::uint32_t major;
    std::uint32_t minor;
    std::uint32_t revision;
  } clap_version_t;

  typedef struct clap_plugin_descriptor
  {
    clap_version_t clap_version;
    const char* id;
    const char* name;
    const char* vendor;
    const char* url;
    const char* manual_url;
    const char* support_url;
    const char* version;
    const char* description;
    const char* const* features; // null-terminated
  } clap_plugin_descriptor_t;

  struct clap_plugin;
  struct clap_host;
  struct clap_process;

  typedef struct clap_plugin_entry
  {
    clap_version_t clap_version;
    bool (*init)(const char* plugin_path);
    void (*deinit)(void);
    const void* (*get_factory)(const char* factory_id);
  } clap_plugin_entry_t;

  typedef struct clap_plugin_factory
  {
    std::uint32_t (*get_plugin_count)(const struct clap_plugin_factory* factory);
    const clap_plugin_descriptor_t* (*get_plugin_descriptor)(const struct clap_plugin_factory* factory,
                                                             std::uint32_t index);
    const struct clap_plugin* (*create_plugin)(const struct clap_plugin_factory* factory, const struct clap_host* host,
                                               const char* plugin_id);
  } clap_plugin_factory_t;

  // ---- Plug-in and host records ----------------------------------------------------------------

  typedef struct clap_plugin
  {
    const clap_plugin_descriptor_t* desc;
    void* plugin_data;
    bool (*init)(const struct clap_plugin* plugin);
    void (*destroy)(const struct clap_plugin* plugin);
    bool (*activate)(const struct clap_plugin* plugin, double sample_rate, std::uint32_t min_frames_count,
                     std::uint32_t max_frames_count);
    void (*deactivate)(const struct clap_plugin* plugin);
    bool (*start_processing)(const struct clap_plugin* plugin);
    void (*stop_processing)(const struct clap_plugin* plugin);
    void (*reset)(const struct clap_plugin* plugin);
    clap_process_status (*process)(const struct clap_plugin* plugin, const struct clap_process* process);
    const void* (*get_extension)(const struct clap_plugin* plugin, const char* id);
    void (*on_main_thread)(const struct clap_plugin* plugin);
  } clap_plugin_t;

  typedef struct clap_host
  {
    clap_version_t clap_version;
    void* host_data;
    const char* name;
    const char* vendor;
    const char* url;
    const char* version;
    const void* (*get_extension)(const struct clap_host* host, const char* extension_id);
    void (*request_restart)(const struct clap_host* host);
    void (*request_process)(const struct clap_host* host);
    void (*request_callback)(const struct clap_host* host);
  } clap_host_t;

  // ---- Events ----------------------------------------------------------------------------------

  typedef struct clap_event_header
  {
    std::uint32_t size; // of the whole event, header included
    std::uint32_t time; // frame offset inside the block
    std::uint16_t space_id;
    std::uint16_t type;
    std::uint32_t flags;
  } clap_event_header_t;

  typedef struct clap_event_note
  {
    clap_event_header_t header;
    std::int32_t note_id;
    std::int16_t port_index;
    std::int16_t channel;
    std::int16_t key;
    double velocity;
  } clap_event_note_t;

  typedef struct clap_event_note_expression
  {
    clap_event_header_t header;
    clap_note_expression expression_id;
    std::int32_t note_id;
    std::int16_t port_index;
    std::int16_t channel;
    std::int16_t key;
    double value;
  } clap_event_note_expression_t;

  typedef struct clap_event_param_value
  {
    clap_event_header_t header;
    clap_id param_id;
    void* cookie;
    std::int32_t note_id;
    std::int16_t port_index;
    std::int16_t channel;
    std::int16_t key;
    double value;
  } clap_event_param_value_t;

  typedef struct clap_event_param_mod
  {
    clap_event_header_t header;
    clap_id param_id;
    void* cookie;
    std::int32_t note_id;
    std::int16_t port_index;
    std::int16_t channel;
    std::int16_t key;
    double amount;
  } clap_event_param_mod_t;

  typedef struct clap_event_param_gesture
  {
    clap_event_header_t header;
    clap_id param_id;
  } clap_event_param_gesture_t;

  typedef struct clap_event_transport
  {
    clap_event_header_t header;
    std::uint32_t flags;
    clap_beattime song_pos_beats;
    clap_sectime song_pos_seconds;
    double tempo;     // beats per minute
    double tempo_inc; // per sample
    clap_beattime loop_start_beats;
    clap_beattime loop_end_beats;
    clap_sectime loop_start_seconds;
    clap_sectime loop_end_seconds;
    clap_beattime bar_start;
    std::int32_t bar_number;
    std::uint16_t tsig_num;
    std::uint16_t tsig_denom;
  } clap_event_transport_t;

  typedef struct clap_event_midi
  {
    clap_event_header_t header;
    std::uint16_t port_index;
    std::uint8_t data[3];
  } clap_event_midi_t;

  typedef struct clap_event_midi_sysex
  {
    clap_event_header_t header;
    std::uint16_t port_index;
    const std::uint8_t* buffer;
    std::uint32_t size;
  } clap_event_midi_sysex_t;

  typedef struct clap_event_midi2
  {
    clap_event_header_t header;
    std::uint16_t port_index;
    std::uint32_t data[4];
  } clap_event_midi2_t;

  typedef struct clap_input_events
  {
    void* ctx;
    std::uint32_t (*size)(const struct clap_input_events* list);
    const clap_event_header_t* (*get)(const struct clap_input_events* list, std::uint32_t index);
  } clap_input_events_t;

  typedef struct clap_output_events
  {
    void* ctx;
    bool (*try_push)(const struct clap_output_events* list, const clap_event_header_t* event);
  } clap_output_events_t;

  // ---- Audio, process, streams -----------------------------------------------------------------

  typedef struct clap_audio_buffer
  {
    float** data32;
    double** data64;
    std::uint32_t channel_count;
    std::uint32_t latency;
    std::uint64_t constant_mask;
  } clap_audio_buffer_t;

  typedef struct clap_process
  {
    std::int64_t steady_time; // -1 when the host has no steady sample clock
    std::uint32_t frames_count;
    const clap_event_transport_t* transport;
    const clap_audio_buffer_t* audio_inputs;
    clap_audio_buffer_t* audio_outputs;
    std::uint32_t audio_inputs_count;
    std::uint32_t audio_outputs_count;
    const clap_input_events_t* in_events;
    const clap_output_events_t* out_events;
  } clap_process_t;

  typedef struct clap_istream
  {
    void* ctx;
    // Bytes read, 0 at the end, -1 on error.
    std::int64_t (*read)(const struct clap_istream* stream, void* buffer, std::uint64_t size);
  } clap_istream_t;

  typedef struct clap_ostream
  {
    void* ctx;
    // Bytes written, -1 on error.
    std::int64_t (*write)(const struct clap_ostream* stream, const void* buffer, std::uint64_t size);
  } clap_ostream_t;

  typedef struct clap_color
  {
    std::uint8_t alpha;
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
  } clap_color_t;

  // ---- Extension: audio ports ------------------------------------------------------------------

  typedef struct clap_audio_port_info
  {
    clap_id id;
    char name[CLAP_NAME_SIZE];
    std::uint32_t flags;
    std::uint32_t channel_count;
    const char* port_type;
    clap_id in_place_pair;
  } clap_audio_port_info_t;

  typedef struct clap_plugin_audio_ports
  {
    std::uint32_t (*count)(const clap_plugin_t* plugin, bool is_input);
    bool (*get)(const clap_plugin_t* plugin, std::uint32_t index, bool is_input, clap_audio_port_info_t* info);
  } clap_plugin_audio_ports_t;

  typedef struct clap_host_audio_ports
  {
    bool (*is_rescan_flag_supported)(const clap_host_t* host, std::uint32_t flag);
    void (*rescan)(const clap_host_t* host, std::uint32_t flags);
  } clap_host_audio_ports_t;

  // ---- Extension: audio ports config -----------------------------------------------------------

  typedef struct clap_audio_ports_config
  {
    clap_id id;
    char name[CLAP_NAME_SIZE];
    std::uint32_t input_port_count;
    std::uint32_t output_port_count;
    bool has_main_input;
    std::uint32_t main_input_channel_count;
    const char* main_input_port_type;
    bool has_main_output;
    std::uint32_t main_output_channel_count;
    const char* main_output_port_type;
  } clap_audio_ports_config_t;

  typedef struct clap_plugin_audio_ports_config
  {
    std::uint32_t (*count)(const clap_plugin_t* plugin);
    bool (*get)(const clap_plugin_t* plugin, std::uint32_t index, clap_audio_ports_config_t* config);
    bool (*select)(const clap_plugin_t* plugin, clap_id config_id);
  } clap_plugin_audio_ports_config_t;

  typedef struct clap_plugin_audio_ports_config_info
  {
    clap_id (*current_config)(const clap_plugin_t* plugin);
    bool (*get)(const clap_plugin_t* plugin, clap_id config_id, std::uint32_t port_index, bool is_input,
                clap_audio_port_info_t* info);
  } clap_plugin_audio_ports_config_info_t;

  typedef struct clap_host_audio_ports_config
  {
    void (*rescan)(const clap_host_t* host);
  } clap_host_audio_ports_config_t;

  // ---- Extension: params -----------------------------------------------------------------------

  typedef struct clap_param_info
  {
    clap_id id;
    clap_param_info_flags flags;
    void* cookie;
    char name[CLAP_NAME_SIZE];
    char module[CLAP_PATH_SIZE];
    double min_value;
    double max_value;
    double default_value;
  } clap_param_info_t;

  typedef struct clap_plugin_params
  {
    std::uint32_t (*count)(const clap_plugin_t* plugin);
    bool (*get_info)(const clap_plugin_t* plugin, std::uint32_t param_index, clap_param_info_t* param_info);
    bool (*get_value)(const clap_plugin_t* plugin, clap_id param_id, double* out_value);
    bool (*value_to_text)(const clap_plugin_t* plugin, clap_id param_id, double value, char* out_buffer,
                          std::uint32_t out_buffer_capacity);
    bool (*text_to_value)(const clap_plugin_t* plugin, clap_id param_id, const char* param_value_text,
                          double* out_value);
    void (*flush)(const clap_plugin_t* plugin, const clap_input_events_t* in, const clap_output_events_t* out);
  } clap_plugin_params_t;

  typedef struct clap_host_params
  {
    void (*rescan)(const clap_host_t* host, clap_param_rescan_flags flags);
    void (*clear)(const clap_host_t* host, clap_id param_id, clap_param_clear_flags flags);
    void (*request_flush)(const clap_host_t* host);
  } clap_host_params_t;

  // ---- Extensions: state, latency, tail, render ------------------------------------------------

  typedef struct clap_plugin_state
  {
    bool (*save)(const clap_plugin_t* plugin, const clap_ostream_t* stream);
    bool (*load)(const clap_plugin_t* plugin, const clap_istream_t* stream);
  } clap_plugin_state_t;

  typedef struct clap_host_state
  {
    void (*mark_dirty)(const clap_host_t* host);
  } clap_host_state_t;

  typedef struct clap_plugin_latency
  {
    std::uint32_t (*get)(const clap_plugin_t* plugin);
  } clap_plugin_latency_t;

  typedef struct clap_host_latency
  {
    void (*changed)(const clap_host_t* host);
  } clap_host_latency_t;

  typedef struct clap_plugin_tail
  {
    std::uint32_t (*get)(const clap_plugin_t* plugin);
  } clap_plugin_tail_t;

  typedef struct clap_host_tail
  {
    void (*changed)(const clap_host_t* host);
  } clap_host_tail_t;

  typedef struct clap_plugin_render
  {
    bool (*has_hard_realtime_requirement)(const clap_plugin_t* plugin);
    bool (*set)(const clap_plugin_t* plugin, clap_plugin_render_mode mode);
  } clap_plugin_render_t;

  // ---- Extension: gui --------------------------------------------------------------------------

  typedef struct clap_window
  {
    const char* api;
    union
    {
      clap_nsview cocoa;
      clap_uiview uikit;
      clap_xwnd x11;
      clap_hwnd win32;
      void* ptr;
    };
  } clap_window_t;

  typedef struct clap_gui_resize_hints
  {
    bool can_resize_horizontally;
    bool can_resize_vertically;
    bool preserve_aspect_ratio;
    std::uint32_t aspect_ratio_width;
    std::uint32_t aspect_ratio_height;
  } clap_gui_resize_hints_t;

  typedef struct clap_plugin_gui
  {
    bool (*is_api_supported)(const clap_plugin_t* plugin, const char* api, bool is_floating);
    bool (*get_preferred_api)(const clap_plugin_t* plugin, const char** api, bool* is_floating);
    bool (*create)(const clap_plugin_t* plugin, const char* api, bool is_floating);
    void (*destroy)(const clap_plugin_t* plugin);
    bool (*set_scale)(const clap_plugin_t* plugin, double scale);
    bool (*get_size)(const clap_plugin_t* plugin, std::uint32_t* width, std::uint32_t* height);
    bool (*can_resize)(const clap_plugin_t* plugin);
    bool (*get_resize_hints)(const clap_plugin_t* plugin, clap_gui_resize_hints_t* hints);
    bool (*adjust_size)(const clap_plugin_t* plugin, std::uint32_t* width, std::uint32_t* height);
    bool (*set_size)(const clap_plugin_t* plugin, std::uint32_t width, std::uint32_t height);
    bool (*set_parent)(const clap_plugin_t* plugin, const clap_window_t* window);
    bool (*set_transient)(const clap_plugin_t* plugin, const clap_window_t* window);
    void (*suggest_title)(const clap_plugin_t* plugin, const char* title);
    bool (*show)(const clap_plugin_t* plugin);
    bool (*hide)(const clap_plugin_t* plugin);
  } clap_plugin_gui_t;

  typedef struct clap_host_gui
  {
    void (*resize_hints_changed)(const clap_host_t* host);
    bool (*request_resize)(const clap_host_t* host, std::uint32_t width, std::uint32_t height);
    bool (*request_show)(const clap_host_t* host);
    bool (*request_hide)(const clap_host_t* host);
    void (*closed)(const clap_host_t* host, bool was_destroyed);
  } clap_host_gui_t;

  // ---- Extensions: timer support, posix fd support ---------------------------------------------

  typedef struct clap_plugin_timer_support
  {
    void (*on_timer)(const clap_plugin_t* plugin, clap_id timer_id);
  } clap_plugin_timer_support_t;

  typedef struct clap_host_timer_support
  {
    bool (*register_timer)(const clap_host_t* host, std::uint32_t period_ms, clap_id* timer_id);
    bool (*unregister_timer)(const clap_host_t* host, clap_id timer_id);
  } clap_host_timer_support_t;

  typedef struct clap_plugin_posix_fd_support
  {
    void (*on_fd)(const clap_plugin_t* plugin, int fd, clap_posix_fd_flags_t flags);
  } clap_plugin_posix_fd_support_t;

  typedef struct clap_host_posix_fd_support
  {
    bool (*register_fd)(const clap_host_t* host, int fd, clap_posix_fd_flags_t flags);
    bool (*modify_fd)(const clap_host_t* host, int fd, clap_posix_fd_flags_t flags);
    bool (*unregister_fd)(const clap_host_t* host, int fd);
  } clap_host_posix_fd_support_t;

  // ---- Extensions: log, thread check -----------------------------------------------------------

  typedef struct clap_host_log
  {
    void (*log)(const clap_host_t* host, clap_log_severity severity, const char* msg);
  } clap_host_log_t;

  typedef struct clap_host_thread_check
  {
    bool (*is_main_thread)(const clap_host_t* host);
    bool (*is_audio_thread)(const clap_host_t* host);
  } clap_host_thread_check_t;

  // ---- Extension: track info -------------------------------------------------------------------

  typedef struct clap_track_info
  {
    std::uint64_t flags; // CLAP_TRACK_INFO_* bits saying which fields are valid
    char name[CLAP_NAME_SIZE];
    clap_color_t color;
    std::int32_t audio_channel_count;
    const char* audio_port_type;
  } clap_track_info_t;

  typedef struct clap_plugin_track_info
  {
    void (*changed)(const clap_plugin_t* plugin);
  } clap_plugin_track_info_t;

  typedef struct clap_host_track_info
  {
    bool (*get)(const clap_host_t* host, clap_track_info_t* info);
  } clap_host_track_info_t;

  // ---- Extension: note ports -------------------------------------------------------------------

  typedef struct clap_note_port_info
  {
    clap_id id;
    std::uint32_t supported_dialects;
    std::uint32_t preferred_dialect;
    char name[CLAP_NAME_SIZE];
  } clap_note_port_info_t;

  typedef struct clap_plugin_note_ports
  {
    std::uint32_t (*count)(const clap_plugin_t* plugin, bool is_input);
    bool (*get)(const clap_plugin_t* plugin, std::uint32_t index, bool is_input, clap_note_port_info_t* info);
  } clap_plugin_note_ports_t;

  typedef struct clap_host_note_ports
  {
    std::uint32_t (*supported_dialects)(const clap_host_t* host);
    void (*rescan)(const clap_host_t* host, std::uint32_t flags);
  } clap_host_note_ports_t;

} // extern "C"

// ---- Integer constants -----------------------------------------------------------------------
// Without an explicit width in the standard a constant is an int, as its enumerators are.

inline constexpr int CLAP_VERSION_MAJOR = 1;
inline constexpr int CLAP_VERSION_MINOR = 2;
inline constexpr int CLAP_VERSION_REVISION = 10;
inline constexpr clap_version_t CLAP_VERSION = { CLAP_VERSION_MAJOR, CLAP_VERSION_MINOR, CLAP_VERSION_REVISION };

inline constexpr clap_id CLAP_INVALID_ID = UINT32_MAX;
inline constexpr std::uint16_t CLAP_CORE_EVENT_SPACE_ID = 0;
inline constexpr std::int64_t CLAP_BEATTIME_FACTOR = std::int64_t { 1 } << 31;
inline constexpr std::int64_t CLAP_SECTIME_FACTOR = std::int64_t { 1 } << 31;

// Process statuses.
inline constexpr int CLAP_PROCESS_ERROR = 0;
inline constexpr int CLAP_PROCESS_CONTINUE = 1;
inline constexpr int CLAP_PROCESS_CONTINUE_IF_NOT_QUIET = 2;
inline constexpr int CLAP_PROCESS_TAIL = 3;
inline constexpr int CLAP_PROCESS_SLEEP = 4;

// Event header flags.
inline constexpr int CLAP_EVENT_IS_LIVE = 1 << 0;
inline constexpr int CLAP_EVENT_DONT_RECORD = 1 << 1;

// Event types of the core space.
inline constexpr int CLAP_EVENT_NOTE_ON = 0;
inline constexpr int CLAP_EVENT_NOTE_OFF = 1;
inline constexpr int CLAP_EVENT_NOTE_CHOKE = 2;
inline constexpr int CLAP_EVENT_NOTE_END = 3;
inline constexpr int CLAP_EVENT_NOTE_EXPRESSION = 4;
inline constexpr int CLAP_EVENT_PARAM_VALUE = 5;
inline constexpr int CLAP_EVENT_PARAM_MOD = 6;
inline constexpr int CLAP_EVENT_PARAM_GESTURE_BEGIN = 7;
inline constexpr int CLAP_EVENT_PARAM_GESTURE_END = 8;
inline constexpr int CLAP_EVENT_TRANSPORT = 9;
inline constexpr int CLAP_EVENT_MIDI = 10;
inline constexpr int CLAP_EVENT_MIDI_SYSEX = 11;
inline constexpr int CLAP_EVENT_MIDI2 = 12;

inline constexpr int CLAP_NOTE_EXPRESSION_VOLUME = 0;
inline constexpr int CLAP_NOTE_EXPRESSION_PAN = 1;
inline constexpr int CLAP_NOTE_EXPRESSION_TUNING = 2;
inline constexpr int CLAP_NOTE_EXPRESSION_VIBRATO = 3;
inline constexpr int CLAP_NOTE_EXPRESSION_EXPRESSION = 4;
inline constexpr int CLAP_NOTE_EXPRESSION_BRIGHTNESS = 5;
inline constexpr int CLAP_NOTE_EXPRESSION_PRESSURE = 6;

// Transport flags.
inline constexpr int CLAP_TRANSPORT_HAS_TEMPO = 1 << 0;
inline constexpr int CLAP_TRANSPORT_HAS_BEATS_TIMELINE = 1 << 1;
inline constexpr int CLAP_TRANSPORT_HAS_SECONDS_TIMELINE = 1 << 2;
inline constexpr int CLAP_TRANSPORT_HAS_TIME_SIGNATURE = 1 << 3;
inline constexpr int CLAP_TRANSPORT_IS_PLAYING = 1 << 4;
inline constexpr int CLAP_TRANSPORT_IS_RECORDING = 1 << 5;
inline constexpr int CLAP_TRANSPORT_IS_LOOP_ACTIVE = 1 << 6;
inline constexpr int CLAP_TRANSPORT_IS_WITHIN_PRE_ROLL = 1 << 7;

// Audio port flags and rescan flags.
inline constexpr int CLAP_AUDIO_PORT_IS_MAIN = 1 << 0;
inline constexpr int CLAP_AUDIO_PORT_SUPPORTS_64BITS = 1 << 1;
inline constexpr int CLAP_AUDIO_PORT_PREFERS_64BITS = 1 << 2;
inline constexpr int CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE = 1 << 3;
inline constexpr int CLAP_AUDIO_PORTS_RESCAN_NAMES = 1 << 0;
inline constexpr int CLAP_AUDIO_PORTS_RESCAN_FLAGS = 1 << 1;
inline constexpr int CLAP_AUDIO_PORTS_RESCAN_CHANNEL_COUNT = 1 << 2;
inline constexpr int CLAP_AUDIO_PORTS_RESCAN_PORT_TYPE = 1 << 3;
inline constexpr int CLAP_AUDIO_PORTS_RESCAN_IN_PLACE_PAIR = 1 << 4;
inline constexpr int CLAP_AUDIO_PORTS_RESCAN_LIST = 1 << 5;

// Parameter info flags, rescan flags and clear flags.
inline constexpr int CLAP_PARAM_IS_STEPPED = 1 << 0;
inline constexpr int CLAP_PARAM_IS_PERIODIC = 1 << 1;
inline constexpr int CLAP_PARAM_IS_HIDDEN = 1 << 2;
inline constexpr int CLAP_PARAM_IS_READONLY = 1 << 3;
inline constexpr int CLAP_PARAM_IS_BYPASS = 1 << 4;
inline constexpr int CLAP_PARAM_IS_AUTOMATABLE = 1 << 5;
inline constexpr int CLAP_PARAM_IS_AUTOMATABLE_PER_NOTE_ID = 1 << 6;
inline constexpr int CLAP_PARAM_IS_AUTOMATABLE_PER_KEY = 1 << 7;
inline constexpr int CLAP_PARAM_IS_AUTOMATABLE_PER_CHANNEL = 1 << 8;
inline constexpr int CLAP_PARAM_IS_AUTOMATABLE_PER_PORT = 1 << 9;
inline constexpr int CLAP_PARAM_IS_MODULATABLE = 1 << 10;
inline constexpr int CLAP_PARAM_IS_MODULATABLE_PER_NOTE_ID = 1 << 11;
inline constexpr int CLAP_PARAM_IS_MODULATABLE_PER_KEY = 1 << 12;
inline constexpr int CLAP_PARAM_IS_MODULATABLE_PER_CHANNEL = 1 << 13;
inline constexpr int CLAP_PARAM_IS_MODULATABLE_PER_PORT = 1 << 14;
inline constexpr int CLAP_PARAM_REQUIRES_PROCESS = 1 << 15;
inline constexpr int CLAP_PARAM_IS_ENUM = 1 << 16;
inline constexpr int CLAP_PARAM_RESCAN_VALUES = 1 << 0;
inline constexpr int CLAP_PARAM_RESCAN_TEXT = 1 << 1;
inline constexpr int CLAP_PARAM_RESCAN_INFO = 1 << 2;
inline constexpr int CLAP_PARAM_RESCAN_ALL = 1 << 3;
inline constexpr int CLAP_PARAM_CLEAR_ALL = 1 << 0;
inline constexpr int CLAP_PARAM_CLEAR_AUTOMATIONS = 1 << 1;
inline constexpr int CLAP_PARAM_CLEAR_MODULATIONS = 1 << 2;

inline constexpr int CLAP_RENDER_REALTIME = 0;
inline constexpr int CLAP_RENDER_OFFLINE = 1;

inline constexpr int CLAP_POSIX_FD_READ = 1 << 0;
inline constexpr int CLAP_POSIX_FD_WRITE = 1 << 1;
inline constexpr int CLAP_POSIX_FD_ERROR = 1 << 2;

// Log severities.
inline constexpr int CLAP_LOG_DEBUG = 0;
inline constexpr int CLAP_LOG_INFO = 1;
inline constexpr int CLAP_LOG_WARNING = 2;
inline constexpr int CLAP_LOG_ERROR = 3;
inline constexpr int CLAP_LOG_FATAL = 4;
inline constexpr int CLAP_LOG_HOST_MISBEHAVING = 5;
inline constexpr int CLAP_LOG_PLUGIN_MISBEHAVING = 6;

inline constexpr int CLAP_TRACK_INFO_HAS_TRACK_NAME = 1 << 0;
inline constexpr int CLAP_TRACK_INFO_HAS_TRACK_COLOR = 1 << 1;
inline constexpr int CLAP_TRACK_INFO_HAS_AUDIO_CHANNEL = 1 << 2;
inline constexpr int CLAP_TRACK_INFO_IS_FOR_RETURN_TRACK = 1 << 3;
inline constexpr int CLAP_TRACK_INFO_IS_FOR_BUS = 1 << 4;
inline constexpr int CLAP_TRACK_INFO_IS_FOR_MASTER = 1 << 5;

// Note dialects and note port rescan flags.
inline constexpr int CLAP_NOTE_DIALECT_CLAP = 1 << 0;
inline constexpr int CLAP_NOTE_DIALECT_MIDI = 1 << 1;
inline constexpr int CLAP_NOTE_DIALECT_MIDI_MPE = 1 << 2;
inline constexpr int CLAP_NOTE_DIALECT_MIDI2 = 1 << 3;
inline constexpr int CLAP_NOTE_PORTS_RESCAN_ALL = 1 << 0;
inline constexpr int CLAP_NOTE_PORTS_RESCAN_NAMES = 1 << 1;

// ---- String ids ------------------------------------------------------------------------------

inline constexpr char CLAP_PLUGIN_FACTORY_ID[] = "clap.plugin-factory";
inline constexpr char CLAP_PLUGIN_INVALIDATION_FACTORY_ID[] = "clap.plugin-invalidation-factory/1";
inline constexpr char CLAP_PLUGIN_STATE_CONVERTER_FACTORY_ID[] = "clap.plugin-state-converter-factory/1";
inline constexpr char CLAP_PRESET_DISCOVERY_FACTORY_ID[] = "clap.preset-discovery-factory/2";
inline constexpr char CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT[] = "clap.preset-discovery-factory/draft-2";

inline constexpr char CLAP_PORT_MONO[] = "mono";
inline constexpr char CLAP_PORT_STEREO[] = "stereo";

inline constexpr char CLAP_WINDOW_API_WIN32[] = "win32";
inline constexpr char CLAP_WINDOW_API_COCOA[] = "cocoa";
inline constexpr char CLAP_WINDOW_API_UIKIT[] = "uikit";
inline constexpr char CLAP_WINDOW_API_X11[] = "x11";
inline constexpr char CLAP_WINDOW_API_WAYLAND[] = "wayland";

// Extensions with a layout above.
inline constexpr char CLAP_EXT_AUDIO_PORTS[] = "clap.audio-ports";
inline constexpr char CLAP_EXT_AUDIO_PORTS_CONFIG[] = "clap.audio-ports-config";
inline constexpr char CLAP_EXT_AUDIO_PORTS_CONFIG_INFO[] = "clap.audio-ports-config-info/1";
inline constexpr char CLAP_EXT_AUDIO_PORTS_CONFIG_INFO_COMPAT[] = "clap.audio-ports-config-info/draft-0";
inline constexpr char CLAP_EXT_PARAMS[] = "clap.params";
inline constexpr char CLAP_EXT_STATE[] = "clap.state";
inline constexpr char CLAP_EXT_LATENCY[] = "clap.latency";
inline constexpr char CLAP_EXT_TAIL[] = "clap.tail";
inline constexpr char CLAP_EXT_RENDER[] = "clap.render";
inline constexpr char CLAP_EXT_GUI[] = "clap.gui";
inline constexpr char CLAP_EXT_TIMER_SUPPORT[] = "clap.timer-support";
inline constexpr char CLAP_EXT_POSIX_FD_SUPPORT[] = "clap.posix-fd-support";
inline constexpr char CLAP_EXT_LOG[] = "clap.log";
inline constexpr char CLAP_EXT_THREAD_CHECK[] = "clap.thread-check";
inline constexpr char CLAP_EXT_TRACK_INFO[] = "clap.track-info/1";
inline constexpr char CLAP_EXT_TRACK_INFO_COMPAT[] = "clap.track-info.draft/1";
inline constexpr char CLAP_EXT_NOTE_PORTS[] = "clap.note-ports";

// Extensions known by id only: a plug-in or host recognises and declines them.
inline constexpr char CLAP_EXT_PRESET_LOAD[] = "clap.preset-load/2";
inline constexpr char CLAP_EXT_PRESET_LOAD_COMPAT[] = "clap.preset-load.draft/2";
inline constexpr char CLAP_EXT_AMBISONIC[] = "clap.ambisonic/3";
inline constexpr char CLAP_EXT_AMBISONIC_COMPAT[] = "clap.ambisonic.draft/3";
inline constexpr char CLAP_EXT_AUDIO_PORTS_ACTIVATION[] = "clap.audio-ports-activation/2";
inline constexpr char CLAP_EXT_AUDIO_PORTS_ACTIVATION_COMPAT[] = "clap.audio-ports-activation/draft-2";
inline constexpr char CLAP_EXT_CONFIGURABLE_AUDIO_PORTS[] = "clap.configurable-audio-ports/1";
inline constexpr char CLAP_EXT_CONFIGURABLE_AUDIO_PORTS_COMPAT[] = "clap.configurable-audio-ports.draft1";
inline constexpr char CLAP_EXT_CONTEXT_MENU[] = "clap.context-menu/1";
inline constexpr char CLAP_EXT_CONTEXT_MENU_COMPAT[] = "clap.context-menu.draft/0";
inline constexpr char CLAP_EXT_BACKGROUND_ACTIVATION[] = "clap.background-activation/1";
inline constexpr char CLAP_EXT_BACKGROUND_PROGRESS[] = "clap.background-progress/1";
inline constexpr char CLAP_EXT_BACKGROUND_STATE_CONTEXT[] = "clap.background-state-context/1";
inline constexpr char CLAP_EXT_EXTENSIBLE_AUDIO_PORTS[] = "clap.extensible-audio-ports/1";
inline constexpr char CLAP_EXT_FLUSH_EVENTS[] = "clap.flush-events/1";
inline constexpr char CLAP_EXT_GAIN_ADJUSTMENT_METERING[] = "clap.gain-adjustment-metering/0";
inline constexpr char CLAP_EXT_MINI_CURVE_DISPLAY[] = "clap.mini-curve-display/3";
inline constexpr char CLAP_EXT_OCTAVE_NUMBER[] = "clap.octave-number/1";
inline constexpr char CLAP_EXT_PARAM_HOVERED[] = "clap.param-hovered/1";
inline constexpr char CLAP_EXT_PARAMS_ORIGIN[] = "clap.params-origin/1";
inline constexpr char CLAP_EXT_PROJECT_LOCATION[] = "clap.project-location/2";
inline constexpr char CLAP_EXT_RESOURCE_DIRECTORY[] = "clap.resource-directory/1";
inline constexpr char CLAP_EXT_SCRATCH_MEMORY[] = "clap.scratch-memory/1";
inline constexpr char CLAP_EXT_TRANSPORT_CONTROL[] = "clap.transport-control/2";
inline constexpr char CLAP_EXT_TRIGGERS[] = "clap.triggers/1";
inline constexpr char CLAP_EXT_TUNING[] = "clap.tuning/2";
inline constexpr char CLAP_EXT_UNDO[] = "clap.undo/4";
inline constexpr char CLAP_EXT_UNDO_CONTEXT[] = "clap.undo_context/4";
inline constexpr char CLAP_EXT_UNDO_DELTA[] = "clap.undo_delta/4";
inline constexpr char CLAP_EXT_WEBVIEW[] = "clap.webview/3";
inline constexpr char CLAP_EXT_EVENT_REGISTRY[] = "clap.event-registry";
inline constexpr char CLAP_EXT_NOTE_NAME[] = "clap.note-name";
inline constexpr char CLAP_EXT_PARAM_INDICATION[] = "clap.param-indication/4";
inline constexpr char CLAP_EXT_PARAM_INDICATION_COMPAT[] = "clap.param-indication.draft/4";
inline constexpr char CLAP_EXT_REMOTE_CONTROLS[] = "clap.remote-controls/2";
inline constexpr char CLAP_EXT_REMOTE_CONTROLS_COMPAT[] = "clap.remote-controls.draft/2";
inline constexpr char CLAP_EXT_STATE_CONTEXT[] = "clap.state-context/2";
inline constexpr char CLAP_EXT_SURROUND[] = "clap.surround/4";
inline constexpr char CLAP_EXT_SURROUND_COMPAT[] = "clap.surround.draft/4";
inline constexpr char CLAP_EXT_THREAD_POOL[] = "clap.thread-pool";
inline constexpr char CLAP_EXT_VOICE_INFO[] = "clap.voice-info";

// Plug-in features for the descriptor's feature list.
inline constexpr char CLAP_PLUGIN_FEATURE_INSTRUMENT[] = "instrument";
inline constexpr char CLAP_PLUGIN_FEATURE_AUDIO_EFFECT[] = "audio-effect";
inline constexpr char CLAP_PLUGIN_FEATURE_NOTE_EFFECT[] = "note-effect";
inline constexpr char CLAP_PLUGIN_FEATURE_NOTE_DETECTOR[] = "note-detector";
inline constexpr char CLAP_PLUGIN_FEATURE_ANALYZER[] = "analyzer";
inline constexpr char CLAP_PLUGIN_FEATURE_SYNTHESIZER[] = "synthesizer";
inline constexpr char CLAP_PLUGIN_FEATURE_SAMPLER[] = "sampler";
inline constexpr char CLAP_PLUGIN_FEATURE_DRUM[] = "drum";
inline constexpr char CLAP_PLUGIN_FEATURE_DRUM_MACHINE[] = "drum-machine";
inline constexpr char CLAP_PLUGIN_FEATURE_FILTER[] = "filter";
inline constexpr char CLAP_PLUGIN_FEATURE_PHASER[] = "phaser";
inline constexpr char CLAP_PLUGIN_FEATURE_EQUALIZER[] = "equalizer";
inline constexpr char CLAP_PLUGIN_FEATURE_DEESSER[] = "de-esser";
inline constexpr char CLAP_PLUGIN_FEATURE_PHASE_VOCODER[] = "phase-vocoder";
inline constexpr char CLAP_PLUGIN_FEATURE_GRANULAR[] = "granular";
inline constexpr char CLAP_PLUGIN_FEATURE_FREQUENCY_SHIFTER[] = "frequency-shifter";
inline constexpr char CLAP_PLUGIN_FEATURE_PITCH_SHIFTER[] = "pitch-shifter";
inline constexpr char CLAP_PLUGIN_FEATURE_DISTORTION[] = "distortion";
inline constexpr char CLAP_PLUGIN_FEATURE_TRANSIENT_SHAPER[] = "transient-shaper";
inline constexpr char CLAP_PLUGIN_FEATURE_COMPRESSOR[] = "compressor";
inline constexpr char CLAP_PLUGIN_FEATURE_EXPANDER[] = "expander";
inline constexpr char CLAP_PLUGIN_FEATURE_GATE[] = "gate";
inline constexpr char CLAP_PLUGIN_FEATURE_LIMITER[] = "limiter";
inline constexpr char CLAP_PLUGIN_FEATURE_FLANGER[] = "flanger";
inline constexpr char CLAP_PLUGIN_FEATURE_CHORUS[] = "chorus";
inline constexpr char CLAP_PLUGIN_FEATURE_DELAY[] = "delay";
inline constexpr char CLAP_PLUGIN_FEATURE_REVERB[] = "reverb";
inline constexpr char CLAP_PLUGIN_FEATURE_TREMOLO[] = "tremolo";
inline constexpr char CLAP_PLUGIN_FEATURE_GLITCH[] = "glitch";
inline constexpr char CLAP_PLUGIN_FEATURE_UTILITY[] = "utility";
inline constexpr char CLAP_PLUGIN_FEATURE_PITCH_CORRECTION[] = "pitch-correction";
inline constexpr char CLAP_PLUGIN_FEATURE_RESTORATION[] = "restoration";
inline constexpr char CLAP_PLUGIN_FEATURE_MULTI_EFFECTS[] = "multi-effects";
inline constexpr char CLAP_PLUGIN_FEATURE_MIXING[] = "mixing";
inline constexpr char CLAP_PLUGIN_FEATURE_MASTERING[] = "mastering";
inline constexpr char CLAP_PLUGIN_FEATURE_MONO[] = "mono";
inline constexpr char CLAP_PLUGIN_FEATURE_STEREO[] = "stereo";
inline constexpr char CLAP_PLUGIN_FEATURE_SURROUND[] = "surround";
inline constexpr char CLAP_PLUGIN_FEATURE_AMBISONIC[] = "ambisonic";
