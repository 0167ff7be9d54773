#include "platform/qt/GermanTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace pontrel {

GermanTranslations::GermanTranslations() {
    // The texts of Qt's widgets and dialogs; the other modules' files are of no use here.
    loaded_ = translator_.load("qtbase_de", QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
              QCoreApplication::installTranslator(&translator_);
}

GermanTranslations::~GermanTranslations() {
    if (loaded_) {
        QCoreApplication::removeTranslator(&translator_);
    }
}

}  // namespace pontrel
