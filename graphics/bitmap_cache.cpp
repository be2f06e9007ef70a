#include "graphics/bitmap_cache.h"

#include <algorithm>
#include <cstdio>

namespace kit::ui
{

std::uint64_t Fnv1a64(std::string_view text) noexcept
{
  constexpr std::uint64_t kOffsetBasis = 0xcbf29ce484222325ull;
  constexpr std::uint64_t kPrime = 0x100000001b3ull;
  std::uint64_t hash = kOffsetBasis;
  for (const char c : text)
  {
    hash ^= std::uint64_t(static_cast<unsigned char>(c));
    hash *= kPrime;
  }
  return hash;
}

BitmapCache& BitmapCache::Process()
{
  static BitmapCache cache;
  return cache;
}

std::uint64_t BitmapCache::Key(std::string_view name, float scale)
{
  char suffix[64];
  const int length = std::snprintf(suffix, sizeof suffix, "-%.1fx", double(scale));
  std::string text(name);
  if (length > 0) text.append(suffix, std::min(std::size_t(length), sizeof suffix - 1));
  return Fnv1a64(text);
}

void BitmapCache::AddUser()
{
  const std::lock_guard guard(lock);
  ++users;
}

void BitmapCache::RemoveUser()
{
  const std::lock_guard guard(lock);
  if (users > 0) --users;
  if (users == 0) entries.clear();
}

int BitmapCache::Users()
{
  const std::lock_guard guard(lock);
  return users;
}

APIBitmap* BitmapCache::Find(std::string_view name, float scale)
{
  const std::lock_guard guard(lock);
  const std::uint64_t key = Key(name, scale);
  for (const Entry& entry : entries)
  {
    if (entry.key == key && entry.scale == scale && entry.name == name) return entry.bitmap.get();
  }
  return nullptr;
}

APIBitmap* BitmapCache::Add(std::unique_ptr<APIBitmap> bitmap, std::string_view name, float scale)
{
  if (!bitmap) return nullptr;
  const std::lock_guard guard(lock);
  entries.push_back(Entry { std::move(bitmap), std::string(name), scale, Key(name, scale) });
  return entries.back().bitmap.get();
}

bool BitmapCache::Remove(const APIBitmap* bitmap)
{
  const std::lock_guard guard(lock);
  const auto found = std::find_if(entries.begin(), entries.end(),
                                  [bitmap](const Entry& entry) { return entry.bitmap.get() == bitmap; });
  if (found == entries.end()) return false;
  entries.erase(found);
  return true;
}

std::size_t BitmapCache::Size()
{
  const std::lock_guard guard(lock);
  return entries.size();
}

} // namespace kit::ui
