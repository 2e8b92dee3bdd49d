// F12: what the chart paint box shows, crosshair and value window included, as a JPEG file.
#include <exception>
#include <memory>

#include "AppPaths.h"
#include "Application.h"
#include "Bitmap.h"
#include "FileDialogs.h"
#include "JpegImage.h"
#include "PaintBox.h"
#include "Paths.h"
#include "TextUtils.h"
#include "app/MessageWindow.h"
#include "app/Qelunit.h"

namespace {

// As long as the message about a clash of names.
constexpr int FailureMessageSeconds = 15;

}  // namespace

void BQELunit::SaveJpegActionExecute(TObject*)
{
  // A hidden chart may still hold the picture of an older log.
  if (!ReadyFlag || !ChartPaintBox->Visible() || ChartPaintBox->Width() <= 0 || ChartPaintBox->Height() <= 0)
    return;
  AnsiString fileName;
  try {
    const auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetHeight(ChartPaintBox->Height());
    bitmap->SetWidth(ChartPaintBox->Width());
    const TRect all = Rect(0, 0, bitmap->Width(), bitmap->Height());
    bitmap->Canvas()->CopyRect(all, ChartPaintBox->Canvas(), all);
    const auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->Assign(bitmap.get());

    const auto dialog = std::make_unique<TSaveDialog>(Application);
    dialog->SetOptions(TOpenOptions{ofOverwritePrompt});
    AnsiString filter;
    dialog->SetFilter(GetUiText(88, filter));
    dialog->SetFileName(JoinPath(SaveFolder(), "dravolin.jpg"));
    if (!dialog->Execute())
      return;
    fileName = dialog->FileName();
    const AnsiString extension = LowerCase(ExtractFileExt(fileName));
    if (extension != ".jpg" && extension != ".jpeg")
      fileName += ".jpg";

    jpeg->SetCompressionQuality(100);
    jpeg->Compress();
    // The old file stays whole when this fails; the user learns which file and why.
    jpeg->SaveToFile(fileName);
  } catch (const std::exception& failure) {
    ShowTimedMessage(fileName.empty() ? AnsiString(failure.what()) : fileName + "\n" + failure.what(),
                     FailureMessageSeconds);
  } catch (...) {
  }
}
