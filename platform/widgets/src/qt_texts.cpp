// Qt's Chinese catalogue, loaded once per application (qt_texts.h).
#include "platform/qt_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace platform {

bool InstallQtChineseTexts() {
  // Owned by the application: gone with it, and loaded again for a new one.
  static QPointer<QTranslator> installed;
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return false;
  if (installed) return true;
  auto* translator = new QTranslator(app);
  if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  installed = translator;
  return true;
}

}  // namespace platform
