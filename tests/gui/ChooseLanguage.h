#pragma once

// The options dialog's OK with a language chosen, as a user chooses it.
#include "DialogSupport.h"
#include "LanguageList.h"
#include "RadioGroup.h"
#include "uMain.h"
#include "u_Options.h"

#include <QAction>
#include <QDialog>

#include <functional>

// Afterwards the modal dialogs run as `after` runs them.
inline void chooseLanguageInOptions(TMainFrm &window, const QString &languageId,
                                    std::function<int(QDialog &)> after = {})
{
    SetModalRunner([&](QDialog &dialog) {
        RadioGroup &languages = *static_cast<TOptionsFrm &>(dialog).rg_Language;
        for (int item = 0; item < languages.count(); ++item) {
            if (LanguageIdOfEntry(languages.itemText(item)) == languageId)
                languages.setItemIndex(item);
        }
        return int(QDialog::Accepted);
    });
    window.ac_Options->trigger();
    SetModalRunner(std::move(after));
}
