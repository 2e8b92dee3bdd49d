#include "support/Golden.h"

#include <QDir>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPalette>

#include <cstdlib>

#include "support/TestApp.h"

namespace {

// Before main, so before fontconfig and the application read them.
const bool RenderingPinned = [] {
  setenv("FONTCONFIG_FILE", DRAVOLIN_GOLDEN_FONTS_CONF, 1);
  for (const char* variable :
       {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
        "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI", "QT_ENABLE_HIGHDPI_SCALING"})
    unsetenv(variable);
  return true;
}();

QString GoldenPath(const std::string& name)
{
  return QString::fromStdString(std::string(DRAVOLIN_GOLDEN_DIR) + "/" + name + ".png");
}

QString OutputPath(const std::string& name, const char* kind)
{
  QDir().mkpath(QString::fromUtf8(DRAVOLIN_GOLDEN_OUTPUT));
  return QString::fromStdString(std::string(DRAVOLIN_GOLDEN_OUTPUT) + "/" + name + "." + kind + ".png");
}

// Differing pixels red; equal ones a faded copy of the golden, so the place is recognisable.
QImage Difference(const QImage& actual, const QImage& golden)
{
  const int w = std::max(actual.width(), golden.width());
  const int h = std::max(actual.height(), golden.height());
  QImage diff(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool inBoth = x < actual.width() && y < actual.height() && x < golden.width() && y < golden.height();
      if (inBoth && actual.pixel(x, y) == golden.pixel(x, y)) {
        const int grey = 192 + qGray(golden.pixel(x, y)) / 4;
        diff.setPixel(x, y, qRgb(grey, grey, grey));
      } else {
        diff.setPixel(x, y, qRgb(255, 0, 0));
      }
    }
  return diff;
}

}  // namespace

void PinGoldenLook()
{
  (void)RenderingPinned;
  EnsureTestApplication();
  static const bool Pinned = [] {
    struct Role {
      QPalette::ColorRole role;
      QRgb rgb;
    };
    // Windows' classic values where the program names a system colour.
    constexpr Role Roles[] = {
        {QPalette::Window, qRgb(240, 240, 240)},
        {QPalette::WindowText, qRgb(0, 0, 0)},
        {QPalette::Base, qRgb(255, 255, 255)},
        {QPalette::AlternateBase, qRgb(245, 245, 245)},
        {QPalette::ToolTipBase, qRgb(255, 255, 225)},
        {QPalette::ToolTipText, qRgb(0, 0, 0)},
        {QPalette::PlaceholderText, qRgb(109, 109, 109)},
        {QPalette::Text, qRgb(0, 0, 0)},
        {QPalette::Button, qRgb(240, 240, 240)},
        {QPalette::ButtonText, qRgb(0, 0, 0)},
        {QPalette::BrightText, qRgb(255, 255, 255)},
        {QPalette::Light, qRgb(255, 255, 255)},
        {QPalette::Midlight, qRgb(227, 227, 227)},
        {QPalette::Dark, qRgb(160, 160, 160)},
        {QPalette::Mid, qRgb(160, 160, 160)},
        {QPalette::Shadow, qRgb(105, 105, 105)},
        {QPalette::Highlight, qRgb(0, 120, 215)},
        {QPalette::HighlightedText, qRgb(255, 255, 255)},
        {QPalette::Link, qRgb(0, 102, 204)},
        {QPalette::LinkVisited, qRgb(0, 102, 204)},
    };
    QPalette palette;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
      for (const Role& r : Roles)
        palette.setColor(group, r.role, QColor::fromRgb(r.rgb));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(109, 109, 109));
    QGuiApplication::setPalette(palette);
    return true;
  }();
  (void)Pinned;
  QFont font("DejaVu Sans");
  font.setPixelSize(11);
  ASSERT_EQ(QFontInfo(font).family().toStdString(), "DejaVu Sans")
      << "golden pictures need fonts-dejavu-core (scripts/deps.sh installs it)";
}

::testing::AssertionResult MatchesGolden(const QImage& image, const std::string& name)
{
  const QImage actual = image.convertToFormat(QImage::Format_ARGB32);
  const QString goldenPath = GoldenPath(name);
  if (const char* update = std::getenv("DRAVOLIN_UPDATE_GOLDENS"); update && std::string(update) == "1") {
    if (!actual.save(goldenPath, "PNG"))
      return ::testing::AssertionFailure() << "cannot write the golden " << goldenPath.toStdString();
    std::printf("golden rewritten: %s\n", goldenPath.toUtf8().constData());
    return ::testing::AssertionSuccess();
  }
  const QImage golden = QImage(goldenPath, "PNG").convertToFormat(QImage::Format_ARGB32);
  const QString actualPath = OutputPath(name, "actual");
  actual.save(actualPath, "PNG");
  if (golden.isNull())
    return ::testing::AssertionFailure() << "no golden " << goldenPath.toStdString() << " (actual picture in "
                                         << actualPath.toStdString() << "; DRAVOLIN_UPDATE_GOLDENS=1 writes it)";
  if (golden == actual)
    return ::testing::AssertionSuccess();
  int differing = 0;
  for (int y = 0; y < std::min(actual.height(), golden.height()); ++y)
    for (int x = 0; x < std::min(actual.width(), golden.width()); ++x)
      differing += actual.pixel(x, y) != golden.pixel(x, y);
  const QString diffPath = OutputPath(name, "diff");
  Difference(actual, golden).save(diffPath, "PNG");
  return ::testing::AssertionFailure() << "picture differs from the golden " << goldenPath.toStdString() << ": "
                                       << actual.width() << "x" << actual.height() << " against " << golden.width()
                                       << "x" << golden.height() << ", " << differing << " pixels differ; actual "
                                       << actualPath.toStdString() << ", difference " << diffPath.toStdString();
}

::testing::AssertionResult MatchesGolden(TBitmap& bitmap, const std::string& name)
{
  return MatchesGolden(bitmap.Image(), name);
}
