// F12: the chart as the paint box shows it, into the JPEG file the user names, through the
// real window and its file dialog.
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>
#include <set>
#include <unistd.h>

#include "AppPaths.h"
#include "Canvas.h"
#include "ComboBox.h"
#include "PageControl.h"
#include "PaintBox.h"
#include "support/DialogDriver.h"
#include "support/FileSizeLimit.h"
#include "support/StartTestSupport.h"
#include "support/WindowInput.h"

namespace {

namespace fs = std::filesystem;

class ChartJpeg : public ProgramStart {
protected:
  // The program started in a window of a known size with a log, the Chart page shown.
  BQELunit& Started()
  {
    BQELunit& u = Start();
    form->SetWindowState(wsNormal);
    form->SetBounds(0, 0, 900, 640);
    ShowFirstChartMask(u);
    u.OpenLogFile(folder.Write("a.qel", SmallLog()));
    return u;
  }

  // The keys are the window's while it is the active one; a dialog took that from it.
  void Activate()
  {
    form->SetFocus();
    EXPECT_TRUE(RunLoopUntil([&] { return form->Widget()->isActiveWindow(); }));
  }

  // F12 pressed in the window; the dialog answered with a name typed in the test's folder
  // ("" cancels); the message, if one comes, read and closed.
  std::string SaveAs(const std::string& name, const std::string& overwrite = "")
  {
    std::string message;
    DialogDriver driver;
    driver.Then<QFileDialog>([&](QFileDialog* d) {
      offered = d->selectedFiles().join('|').toStdString();
      if (name.empty())
        return d->reject();
      d->setDirectory(QString::fromStdString(folder.Path()));
      d->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(name));
      static_cast<QDialog*>(d)->accept();
    });
    if (!overwrite.empty())
      driver.Then<QMessageBox>([&](QMessageBox* box) {
        message = "asked ";
        box->button(overwrite == "yes" ? QMessageBox::Yes : QMessageBox::No)->click();
      });
    // The message; or the file dialog still open after the overwrite was refused.
    driver.Then<QWidget>([&](QWidget* box) {
      if (auto* dialog = qobject_cast<QFileDialog*>(box))
        return static_cast<QDialog*>(dialog)->reject();
      if (auto* label = box->findChild<QLabel*>())
        message += label->text().toStdString();
      if (auto* button = box->findChild<QPushButton*>())
        button->click();
    });
    Activate();
    window_input::Key(form->Widget(), Qt::Key_F12);
    return message;
  }

  // The name the last dialog offered.
  std::string offered;

  // Names and sizes of the folder's files, sorted.
  std::string Files()
  {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.Path()))
      if (entry.is_regular_file())
        names.insert(entry.path().filename().string() + " " + std::to_string(entry.file_size() > 1000));
    std::string all;
    for (const std::string& name : names)
      all += name + "\n";
    return all;
  }
};

// What the screen shows is what the file holds: the plot's colour with squares of others and
// a dotted magenta line as the crosshair's decodes to the paint box's size and pixels.
TEST_F(ChartJpeg, TheFileHoldsThePaintBoxsPixelsUnderTheNameTheUserGave)
{
  BQELunit& u = Started();
  TCanvas* canvas = u.ChartPaintBox->Canvas();
  const int w = u.ChartPaintBox->Width(), h = u.ChartPaintBox->Height();
  ASSERT_TRUE(w > 300 && h > 300);
  canvas->Brush()->SetColor(0xC0DCC0);
  canvas->FillRect(Rect(0, 0, w, h));
  const TColor colours[] = {0x0000FF, 0x008000, 0x800000, 0x00FFFF, 0x000000, 0xFFFFFF};
  for (int i = 0; i < 6; ++i) {
    canvas->Brush()->SetColor(colours[i]);
    canvas->FillRect(Rect(i * 45, i * 40 + 7, i * 45 + 40, i * 40 + 47));
  }
  canvas->Pen()->SetColor(0xFF00FF);
  canvas->Pen()->SetStyle(psDot);
  canvas->MoveTo(w - 33, 0);
  canvas->LineTo(w - 33, h);
  const QImage shown = canvas->Target()->copy();

  // Nothing written where the dialog starts when it is cancelled.
  const std::string suggested = SaveFolder() + "dravolin.jpg";
  fs::remove(suggested);
  EXPECT_EQ(SaveAs(""), "");
  EXPECT_EQ(offered + " " + std::to_string(fs::exists(suggested)), suggested + " 0");

  EXPECT_EQ(SaveAs("x.png"), "");
  // Quality 100: every entry of the quantisation tables is 1; baseline.
  const std::string bytes = ScratchFolder::Read(folder / "x.png.jpg");
  for (size_t at = bytes.find("\xFF\xDB"); at != std::string::npos; at = bytes.find("\xFF\xDB", at + 1)) {
    const size_t length = static_cast<uint8_t>(bytes[at + 2]) * 256 + static_cast<uint8_t>(bytes[at + 3]);
    for (size_t table = at + 4; table + 65 <= at + 2 + length; table += 65)
      EXPECT_EQ(bytes.substr(table + 1, 64), std::string(64, '\1'));
  }
  EXPECT_TRUE(bytes.find("\xFF\xC0") != std::string::npos && bytes.find("\xFF\xC2") == std::string::npos);
  QImage saved;
  ASSERT_TRUE(saved.load(QString::fromStdString(folder / "x.png.jpg"), "JPEG"));
  ASSERT_EQ(saved.size(), shown.size());
  auto distance = [](QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
  };
  for (const auto& [x, y] :
       {std::pair{0, 0}, {w - 1, h - 1}, {20, 27}, {65, 67}, {110, 107}, {155, 147}, {200, 187}, {245, 227}})
    EXPECT_LE(distance(saved.pixel(x, y), shown.pixel(x, y)), 6) << x << "," << y;
  // Purple against the plot's green and the gaps' white, in any column but the line's.
  auto purple = [&](int x) {
    int count = 0;
    for (int y = 0; y < h; ++y)
      count += (qRed(saved.pixel(x, y)) + qBlue(saved.pixel(x, y))) / 2 - qGreen(saved.pixel(x, y)) > 40;
    return count;
  };
  EXPECT_EQ(std::to_string(purple(w - 40)) + " " + std::to_string(purple(w - 33) > h / 3), "0 1");

  // Kept extensions in any case, one added to any other; the overwrite asked; cancels write nothing.
  std::string messages;
  for (const auto& [name, overwrite] :
       {std::pair{"y.JPG", ""}, {"z", ""}, {"", ""}, {"w.jpeg", ""}, {"y.JPG", "no"}, {"", ""}})
    messages += SaveAs(name, overwrite) + "|";
  EXPECT_EQ(messages, "||||asked ||");
  const std::string written = ScratchFolder::Read(folder / "y.JPG");
  canvas->FillRect(Rect(0, 0, w, h));
  EXPECT_EQ(SaveAs("y.JPG", "yes"), "asked ");
  EXPECT_NE(ScratchFolder::Read(folder / "y.JPG"), written);
  EXPECT_EQ(Files(), "a.qel 0\nw.jpeg 1\nx.png.jpg 1\ny.JPG 1\nz.jpg 1\n");
}

// A write that fails keeps the old file whole and says which file and why; with the chart
// hidden nothing is asked or written.
TEST_F(ChartJpeg, AFailedWriteKeepsTheOldFileAndTellsWhyAHiddenChartWritesNothing)
{
  BQELunit& u = Started();
  const std::string old = folder.Write("y.jpg", "old picture");
  {
    FileSizeLimit limit(100);
    EXPECT_EQ(SaveAs("y.jpg", "yes"), "asked " + folder / "y.jpg" + "\nFile too large");
  }
  fs::create_directory(folder / "locked");
  folder.Write("locked/y.jpg", "old picture");
  fs::permissions(folder / "locked", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  if (::access((folder / "locked").c_str(), W_OK) != 0) {
    EXPECT_EQ(SaveAs("locked/y.jpg", "yes"), "asked " + folder / "locked/y.jpg" + "\nPermission denied");
  }
  EXPECT_EQ(ScratchFolder::Read(old) + ScratchFolder::Read(folder / "locked/y.jpg"), "old pictureold picture");

  u.ChartPaintBox->Hide();
  bool asked = false;
  DialogDriver driver;
  driver.Then<QFileDialog>([&](QFileDialog* d) { asked = true, d->reject(); });
  window_input::Key(form->Widget(), Qt::Key_F12);
  EXPECT_FALSE(asked);
  EXPECT_EQ(Files(), "a.qel 0\ny.jpg 0\n");
}

}  // namespace
