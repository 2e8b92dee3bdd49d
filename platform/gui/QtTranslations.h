#pragma once
// Qt's own texts (the buttons of message boxes, the file and folder dialogs) in the interface
// language, from the Qt translations the system has installed.

// languageCode: "ru", "de", anything else keeps Qt's English. Replaces the previous language.
void UseQtTranslations(const char* languageCode);
