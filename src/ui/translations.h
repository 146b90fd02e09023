// Qt's own Japanese texts (file dialogs, standard buttons, text-box context menus).
#pragma once

namespace tavrine {

// Installs Qt's Japanese translations into the running application and makes Japanese the
// default locale; false when the translation files are not installed.
bool LoadJapaneseTranslations();

}  // namespace tavrine
