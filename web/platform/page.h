#pragma once

#include <emscripten/val.h>

#include <string>
#include <string_view>
#include <vector>

#include "text_id.h"
#include "window_layout.h"

namespace hashigoro::web {

// Small helpers for building the page from C++.
using emscripten::val;

val Document();
// The element with `id`; undefined when there is none.
val ById(const std::string& id);
// A new element `tag` with `id` (none when empty) and `className`, appended to `parent`.
val Make(const char* tag, std::string_view id, const char* className, val parent);
void SetText(val element, std::string_view utf8);
// Sets the element's text to the catalogue's `id` in the language spoken, and marks it, so that
// RetextPage sets it again in another; `trimmed` leaves out the blank a caption opens with.
void SetText(val element, TextId id, bool trimmed = false);
// The same for the element's name for a screen reader.
void SetLabel(val element, TextId id);
// Sets every marked text and name of the page again, in the language spoken now.
void RetextPage();
// A button (type "button", so that it submits nothing) with `caption`, appended to `parent`.
val MakeButton(std::string_view id, TextId caption, val parent, const char* className = "");
// Downloads `url` as `fileName` through a link inside `parent`; an object URL is released a
// little later, once the browser has begun reading it.
void Download(val parent, const std::string& fileName, const val& url);
// Downloads `text` as a file `fileName` of type `type`.
void DownloadText(val parent, const std::string& fileName, const std::string& text,
                  const char* type);
void SetStyle(val element, const char* property, const std::string& value);
// A canvas for a chart, appended to `parent`: a picture named by `title` for a screen reader.
val MakeChartCanvas(val parent, const char* id, TextId title);
// A plain array of the numbers, copied over in one call rather than one call a number.
val Numbers(const std::vector<double>& values);
// Line `line`'s (1..10) colour in the charts, as CSS.
std::string LineColourCss(int line);
// The names of the ten lines where the marker arrives, left to right, as the charts label them.
val ArrivalLineNames();

// Places `element` at `rect` (twips) of its container, moved by `offset` window pixels, in
// window pixels times the page's scale (the CSS variable --s), so that the whole window scales
// at once.
void PlaceAt(val element, const layout::TwipsRect& rect, int offset = 0);
// A length of `pixels` window pixels at the page's scale.
std::string Scaled(double pixels);
std::string Rgb(const layout::Rgb& colour);

}  // namespace hashigoro::web
