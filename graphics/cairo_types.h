// Cairo's and FreeType's handle types, declared exactly as their own headers declare them, so
// that the backend's private headers can name the handles without including those libraries.
// Only the backend's .cpp files include <cairo.h> and FreeType.
#pragma once

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo_font_face cairo_font_face_t;
