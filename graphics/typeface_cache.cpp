#include "graphics/typeface_cache.h"

#include "graphics/font_info.h"
#include "graphics/resource_table.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace kit::ui
{
namespace
{

// FreeType wants the creation and the release of faces of one library serialised. Faces are
// released from Cairo's callbacks, whenever Cairo drops its last use of a font, possibly after
// the cache has emptied; so the library lives as long as the process.
std::mutex freeTypeMutex;

FT_Library FreeTypeLibrary()
{
  static FT_Library library = []
  {
    FT_Library made = nullptr;
    return FT_Init_FreeType(&made) == 0 ? made : nullptr;
  }();
  return library;
}

// What a FreeType face needs kept: the face and, for a font read from disk, its bytes.
struct FaceHolder
{
  FT_Face face = nullptr;
  std::vector<std::uint8_t> fileBytes;
};

// Cairo calls this when the font face it made is finally destroyed, after its own caches have
// let go of it: only then may the FreeType face (and the bytes it reads) go.
void ReleaseFace(void* data)
{
  auto* holder = static_cast<FaceHolder*>(data);
  {
    const std::lock_guard lock(freeTypeMutex);
    FT_Done_Face(holder->face);
  }
  delete holder;
}

const cairo_user_data_key_t kFaceHolderKey {};

struct Entry
{
  cairo_font_face_t* fontFace = nullptr; // the cache's reference
  int faceIndex = -1;
  FontInfo info; // points into the bytes the face reads
};

std::mutex cacheMutex;
int instanceCount = 0;
std::map<std::string, Entry, std::less<>> entries;

// The first face with a style name, as for a font given as bytes; −1 once a face is not valid.
int ChooseFace(std::span<const std::uint8_t> bytes)
{
  for (int index = 0;; ++index)
  {
    const FontInfo info = ParseFontInfo(bytes, index);
    if (!info.IsValid()) return -1;
    if (!info.style.empty()) return index;
  }
}

bool ReadFile(const std::string& path, std::vector<std::uint8_t>& bytes)
{
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

// Made under cacheMutex.
bool MakeEntry(std::string_view fileName, Entry& entry)
{
  auto holder = std::make_unique<FaceHolder>();
  std::span<const std::uint8_t> bytes;
  const LocatedResource located = LocateResource(fileName, "ttf");
  switch (located.location)
  {
  case EResourceLocation::kEmbedded:
    bytes = LoadResourceBytes(located.path, "ttf");
    break;
  case EResourceLocation::kFile:
    if (!ReadFile(located.path, holder->fileBytes)) return false;
    bytes = holder->fileBytes;
    break;
  case EResourceLocation::kNotFound:
    return false;
  }
  if (bytes.size() < kMinResourceBytes) return false;
  const int faceIndex = ChooseFace(bytes);
  if (faceIndex < 0) return false;
  FontInfo info = ParseFontInfo(bytes, faceIndex);
  if (!info.IsValid()) return false;

  FT_Library library = FreeTypeLibrary();
  if (library == nullptr) return false;
  {
    const std::lock_guard lock(freeTypeMutex);
    if (FT_New_Memory_Face(library, bytes.data(), FT_Long(bytes.size()), faceIndex, &holder->face) != 0) return false;
  }
  cairo_font_face_t* fontFace = cairo_ft_font_face_create_for_ft_face(holder->face, 0);
  if (cairo_font_face_status(fontFace) != CAIRO_STATUS_SUCCESS ||
      cairo_font_face_set_user_data(fontFace, &kFaceHolderKey, holder.get(), ReleaseFace) != CAIRO_STATUS_SUCCESS)
  {
    cairo_font_face_destroy(fontFace);
    const std::lock_guard lock(freeTypeMutex);
    FT_Done_Face(holder->face);
    return false;
  }
  holder.release(); // now owned by the font face
  entry.fontFace = fontFace;
  entry.faceIndex = faceIndex;
  entry.info = std::move(info);
  return true;
}

} // namespace

void RetainTypefaceCache()
{
  const std::lock_guard lock(cacheMutex);
  ++instanceCount;
}

void ReleaseTypefaceCache()
{
  const std::lock_guard lock(cacheMutex);
  if (--instanceCount > 0) return;
  for (auto& [fontId, entry] : entries) cairo_font_face_destroy(entry.fontFace);
  entries.clear();
}

bool AddTypeface(std::string_view fontId, std::string_view fileName)
{
  const std::lock_guard lock(cacheMutex);
  if (entries.find(fontId) != entries.end()) return true;
  Entry entry;
  if (!MakeEntry(fileName, entry)) return false;
  entries.emplace(std::string(fontId), std::move(entry));
  return true;
}

bool FindTypeface(std::string_view fontId, Typeface& typeface)
{
  const std::lock_guard lock(cacheMutex);
  const auto found = entries.find(fontId);
  if (found == entries.end()) return false;
  const Entry& entry = found->second;
  typeface = { entry.fontFace, entry.info.unitsPerEm, entry.info.ascender, entry.info.descender,
               entry.faceIndex >= 0 && entry.info.IsComplete() };
  return true;
}

std::size_t TypefaceCount()
{
  const std::lock_guard lock(cacheMutex);
  return entries.size();
}

} // namespace kit::ui
