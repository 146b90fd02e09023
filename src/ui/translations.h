// Qt's own Japanese texts (file dialogs, standard buttons, text-box context menus) and dates.
#pragma once

namespace tavrine {

// Makes Qt take Japanese as the system locale's date and time format, which its file dialogs
// use whatever the default locale; call before the application object is made, which is when
// Qt reads the system locale. Leaves an environment that sets LC_ALL alone.
void PreferJapaneseSystemLocale();

// Installs Qt's Japanese translations into the running application and makes Japanese the
// default locale; false when the translation files are not installed.
bool LoadJapaneseTranslations();

}  // namespace tavrine
