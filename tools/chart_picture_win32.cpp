#include "chart_picture.h"

#include "cli_commands.h"
#include "ui/dpi_win32.h"
#include "ui/gdi_canvas_win32.h"
#include "ui/handle_guards_win32.h"
#include "ui/image_file_win32.h"

void WriteChartPicture(const TChart& chart, const TChartLook& look, int width, int height,
                       const std::string& path) {
  if (!CanWritePng()) throw EFileProblem(path, "this system cannot write PNG files");
  const TGdiObject<HFONT> font(CreateMessageFont(look.Dpi));
  TGdiCanvas canvas;
  canvas.SetFont(font.Get());
  canvas.SetSize(width, height);
  PaintReportChart(canvas, chart, nullptr, true, look);
  if (!WritePng(path, canvas.Pixels()))
    throw EFileProblem(path, "cannot be written (no such folder, read-only or in use)");
}
