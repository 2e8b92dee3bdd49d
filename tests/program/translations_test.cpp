// The toolkit's own dialogs speak the window's language, switched with it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>

#include "support/Screenshots.h"
#include "support/StartTestSupport.h"

namespace {
class Translations : public ProgramStart {};

TEST_F(Translations, DialogsFollowTheLanguageButton)
{
  BQELunit& unit = Start();
  std::string cancel;
  for (const int language : {0, 1, 2, 0}) {
    unit.Language = language;
    unit.ApplyLanguage();
    cancel += QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString() + "|";
    if (language == 2) {
      QFileDialog dialog(nullptr, QString(), QString::fromStdString(folder.Path()));
      dialog.setOption(QFileDialog::DontUseNativeDialog);
      dialog.resize(640, 400);
      dialog.show();
      QCoreApplication::processEvents();
      SaveScreenshot(dialog.grab().toImage(), "faults", "open-dialog-de");
      bool germanButton = false;
      for (const QPushButton* button : dialog.findChildren<QPushButton*>())
        germanButton = germanButton || button->text().contains(QStringLiteral("Abbrechen"));
      EXPECT_TRUE(germanButton);
    }
  }
  EXPECT_EQ(cancel, "Отмена|Cancel|Abbrechen|Отмена|");
}

}  // namespace
