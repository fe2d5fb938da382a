// Text through pangocairo, with a font map of its own per loaded font.
#include "text_drawing.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>

#include "fonts.h"

class TextFont {
 public:
  explicit TextFont(const FontRequest& request)
      : map_(pango_cairo_font_map_new()),
        plain_(MakeContext(CAIRO_ANTIALIAS_NONE)),
        vector_(MakeContext(CAIRO_ANTIALIAS_GRAY)),
        description_(pango_font_description_new()),
        attributes_(pango_attr_list_new()) {
    pango_font_description_set_family(description_, request.family.c_str());
    pango_font_description_set_weight(description_,
                                      request.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(description_,
                                     request.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_font_description_set_size(description_,
                                    std::clamp(request.points, 1, kLargestPoints) * PANGO_SCALE);
    if (request.underline)
      pango_attr_list_insert(attributes_, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (request.strikeOut) pango_attr_list_insert(attributes_, pango_attr_strikethrough_new(TRUE));
  }
  ~TextFont() {
    pango_attr_list_unref(attributes_);
    pango_font_description_free(description_);
    g_object_unref(vector_);
    g_object_unref(plain_);
    g_object_unref(map_);
  }
  TextFont(const TextFont&) = delete;
  TextFont& operator=(const TextFont&) = delete;

  // A one-line layout of text; invalid UTF-8 is replaced rather than refused.
  PangoLayout* Layout(const std::string& text, bool antialiased) const {
    PangoLayout* layout = pango_layout_new(antialiased ? vector_ : plain_);
    pango_layout_set_font_description(layout, description_);
    pango_layout_set_attributes(layout, attributes_);
    gchar* valid = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
    pango_layout_set_text(layout, valid, -1);
    g_free(valid);
    return layout;
  }

 private:
  static constexpr int kLargestPoints = 20000;

  PangoContext* MakeContext(cairo_antialias_t antialias) const {
    PangoContext* context = pango_font_map_create_context(map_);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, antialias);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(context, 96);
    return context;
  }

  PangoFontMap* map_;
  PangoContext* plain_;
  PangoContext* vector_;
  PangoFontDescription* description_;
  PangoAttrList* attributes_;
};

void TextFontDeleter::operator()(TextFont* font) const {
  delete font;
}

namespace {

TextExtent LayoutExtent(PangoLayout* layout) {
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout, nullptr, &logical);
  return {logical.width, logical.height};
}

}  // namespace

TextFontPtr LoadFont(const FontRequest& request) {
  if (!FontIsAvailable(request.family, request.bold, request.italic)) return nullptr;
  return TextFontPtr(new TextFont(request));
}

TextExtent MeasureText(const TextFont& font, const std::string& text, bool antialiased) {
  if (text.empty()) return {};
  PangoLayout* layout = font.Layout(text, antialiased);
  const TextExtent extent = LayoutExtent(layout);
  g_object_unref(layout);
  return extent;
}

void DrawPlainText(Canvas& canvas, const TextFont& font, int x, int y, const std::string& text,
                   PackedColor fore, PackedColor back) {
  Drawing drawing(canvas, false);
  if (!drawing.ok() || text.empty()) return;
  cairo_t* context = drawing.context();
  PangoLayout* layout = font.Layout(text, false);
  const TextExtent extent = LayoutExtent(layout);
  // The source operator writes colour and alpha as they are, where the shape covers.
  cairo_set_operator(context, CAIRO_OPERATOR_SOURCE);
  SetSourceColor(context, back);
  cairo_rectangle(context, x, y, extent.width, extent.height);
  cairo_fill(context);
  SetSourceColor(context, fore);
  cairo_move_to(context, x, y);
  pango_cairo_show_layout(context, layout);
  g_object_unref(layout);
}

void DrawVectorText(Canvas& canvas, const TextFont& font, int x, int y, const std::string& text,
                    PackedColor fore) {
  Drawing drawing(canvas, true);
  if (!drawing.ok() || text.empty()) return;
  cairo_t* context = drawing.context();
  PangoLayout* layout = font.Layout(text, true);
  SetSourceColor(context, fore);
  cairo_move_to(context, x, y);
  pango_cairo_show_layout(context, layout);
  g_object_unref(layout);
}
