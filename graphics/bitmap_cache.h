// The process-wide cache of decoded pictures, shared by every open editor: each (name, scale)
// is decoded or rescaled once per process and lives while at least one drawing context exists.
// Editor threads; every access holds the cache's lock, which a caller may also take around a
// whole lookup-and-insert (it is re-entrant).
#pragma once

#include "graphics/bitmap.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace kit::ui
{

// 64-bit FNV-1a of the bytes of text.
[[nodiscard]] std::uint64_t Fnv1a64(std::string_view text) noexcept;

class BitmapCache
{
public:
  // The one cache of the process.
  [[nodiscard]] static BitmapCache& Process();

  // The hash an entry is found by: FNV-1a of the name followed by "-%.1fx" of the scale
  // ("bg.png" at 2 hashes "bg.png-2.0x").
  [[nodiscard]] static std::uint64_t Key(std::string_view name, float scale);

  // Taken by every operation below; hold it across a lookup and the insert that follows.
  [[nodiscard]] std::recursive_mutex& Lock() noexcept { return lock; }

  // Drawing contexts count themselves in and out; the last one out empties the cache.
  void AddUser();
  void RemoveUser();
  [[nodiscard]] int Users();

  // The bitmap kept under exactly this name and scale, or null.
  [[nodiscard]] APIBitmap* Find(std::string_view name, float scale);
  // Keeps the bitmap under (name, scale) and answers it; null stays null.
  APIBitmap* Add(std::unique_ptr<APIBitmap> bitmap, std::string_view name, float scale);
  // Destroys the entry that holds this bitmap; false when none does.
  bool Remove(const APIBitmap* bitmap);
  [[nodiscard]] std::size_t Size();

private:
  struct Entry
  {
    std::unique_ptr<APIBitmap> bitmap;
    std::string name;
    float scale = 1.0f;
    std::uint64_t key = 0;
  };

  std::recursive_mutex lock;
  std::vector<Entry> entries;
  int users = 0;
};

} // namespace kit::ui
