#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>
#include <string_view>

namespace {

std::unique_ptr<QTranslator>& Installed()
{
  static std::unique_ptr<QTranslator> installed;
  return installed;
}

}  // namespace

void UseQtTranslations(const char* languageCode)
{
  if (!QCoreApplication::instance())
    return;
  std::unique_ptr<QTranslator>& installed = Installed();
  if (installed) {
    QCoreApplication::removeTranslator(installed.get());
    installed.reset();
  }
  const std::string_view code = languageCode ? languageCode : "";
  if (code != "ru" && code != "de")
    return;
  auto translator = std::make_unique<QTranslator>();
  if (translator->load(QLocale(QString::fromLatin1(code.data(), static_cast<qsizetype>(code.size()))), "qtbase",
                       "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
      QCoreApplication::installTranslator(translator.get()))
    installed = std::move(translator);
}
