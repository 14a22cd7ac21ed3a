#include "glyphs.h"

#include <commctrl.h>

#include <map>
#include <mutex>
#include <utility>

#include "un_plugincommon.h"

namespace dialogs {
namespace {

constexpr COLORREF kTransparent = RGB(255, 255, 255);

struct SharedGlyphs {
  std::mutex lock;
  std::map<std::pair<int, int>, fav::unique_imagelist> lists;  // by id and size
};

SharedGlyphs& sharedGlyphs() {
  static SharedGlyphs glyphs;
  return glyphs;
}

void putOnButton(HWND button, HIMAGELIST list, UINT dpi) {
  BUTTON_IMAGELIST images{};
  images.himl = list;
  images.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
  images.margin = RECT{::MulDiv(3, static_cast<int>(dpi), 96), 0, 0, 0};
  ::SendMessageW(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
}

fav::unique_hbitmap whiteDib(HDC dc, int px) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = px;
  info.bmiHeader.biHeight = px;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  fav::unique_hbitmap dib{::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0)};
  return dib;
}

}  // namespace

fav::unique_hbitmap fitBitmap(HBITMAP bmp, int px) {
  BITMAP source{};
  if (!bmp || px <= 0 || !::GetObjectW(bmp, sizeof(source), &source) || source.bmWidth <= 0 ||
      source.bmHeight == 0)
    return {};
  const int sw = source.bmWidth;
  const int sh = source.bmHeight < 0 ? -source.bmHeight : source.bmHeight;
  fav::unique_hdc from{::CreateCompatibleDC(nullptr)};
  fav::unique_hdc to{::CreateCompatibleDC(nullptr)};
  if (!from || !to) return {};
  fav::unique_hbitmap out = whiteDib(to.get(), px);
  if (!out) return {};
  fav::SelectObjectScope selectFrom(from.get(), bmp);
  fav::SelectObjectScope selectTo(to.get(), out.get());
  RECT all{0, 0, px, px};
  ::FillRect(to.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  // Proportions kept, centred; nearest-pixel scaling keeps edges hard, so
  // no blend with the transparent white appears around the picture.
  int w = px, h = px;
  if (sw >= sh)
    h = ::MulDiv(px, sh, sw);
  else
    w = ::MulDiv(px, sw, sh);
  if (w < 1) w = 1;
  if (h < 1) h = 1;
  ::SetStretchBltMode(to.get(), COLORONCOLOR);
  ::StretchBlt(to.get(), (px - w) / 2, (px - h) / 2, w, h, from.get(), 0, 0, sw, sh, SRCCOPY);
  return out;
}

fav::unique_hbitmap emptyPicture(int px) {
  fav::unique_hdc dc{::CreateCompatibleDC(nullptr)};
  if (!dc || px <= 0) return {};
  fav::unique_hbitmap out = whiteDib(dc.get(), px);
  if (!out) return {};
  fav::SelectObjectScope select(dc.get(), out.get());
  RECT all{0, 0, px, px};
  ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  return out;
}

fav::unique_hbitmap loadBitmapFile(const std::wstring& path, int px) {
  fav::unique_hbitmap raw{static_cast<HBITMAP>(
      ::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION))};
  if (!raw) return {};
  BITMAP info{};
  // A picture of the right size goes in as it is (the usual case, and the
  // one a folder of many icons repeats).
  if (::GetObjectW(raw.get(), sizeof(info), &info) && info.bmWidth == px &&
      (info.bmHeight == px || info.bmHeight == -px))
    return raw;
  return fitBitmap(raw.get(), px);
}

fav::unique_imagelist glyphImageList(int id, int px) {
  fav::unique_hbitmap raw{static_cast<HBITMAP>(::LoadImageW(
      thisModule(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))};
  if (!raw) return {};
  fav::unique_hbitmap fitted = fitBitmap(raw.get(), px);
  if (!fitted) return {};
  fav::unique_imagelist list{::ImageList_Create(px, px, ILC_COLOR24 | ILC_MASK, 1, 1)};
  if (list) ::ImageList_AddMasked(list.get(), fitted.get(), kTransparent);
  return list;
}

fav::unique_imagelist setButtonGlyph(HWND button, int id, UINT dpi) {
  fav::unique_imagelist list = glyphImageList(id, ::MulDiv(20, static_cast<int>(dpi), 96));
  if (button && list) putOnButton(button, list.get(), dpi);
  return list;
}

HIMAGELIST sharedGlyphList(int id, int px) {
  SharedGlyphs& glyphs = sharedGlyphs();
  std::lock_guard<std::mutex> hold(glyphs.lock);
  fav::unique_imagelist& list = glyphs.lists[{id, px}];
  // A missing resource is asked for again next time; it costs nothing then.
  if (!list) list = glyphImageList(id, px);
  return list.get();
}

bool setSharedButtonGlyph(HWND button, int id, UINT dpi) {
  HIMAGELIST list = sharedGlyphList(id, ::MulDiv(20, static_cast<int>(dpi), 96));
  if (button && list) putOnButton(button, list, dpi);
  return list != nullptr;
}

void releaseSharedGlyphs() {
  SharedGlyphs& glyphs = sharedGlyphs();
  std::lock_guard<std::mutex> hold(glyphs.lock);
  glyphs.lists.clear();
}

}  // namespace dialogs
