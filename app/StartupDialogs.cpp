#include "app/StartupDialogs.h"

#include "app/History.h"
#include "app/PlaceholderDialogs.h"
#include "export/TfrmExport.h"
#include "export/TfrmInterval.h"
#include "export/TfrmPresentation.h"

#include <functional>

namespace {

struct Maker
{
    const char *className;
    std::function<QDialog *(QWidget *)> make;
};

template <class T> Maker maker(const char *name)
{
    return { name, [](QWidget *parent) -> QDialog * { return new T(parent); } };
}

QList<Maker> makers()
{
    return {
        maker<TPrintPreviewForm>("TPrintPreviewForm"),
        maker<TMarginsForm>("TMarginsForm"),
        maker<THeaderFooterForm>("THeaderFooterForm"),
        maker<THistoryForm>("THistoryForm"),
        maker<TWordCountForm>("TWordCountForm"),
        maker<TScanPage>("TScanPage"),
        maker<TDllForms>("TDllForms"),
        maker<TDLLForm>("TDLLForm"),
        maker<TfrmRTF>("TfrmRTF"),
        maker<TfrmFontSmoothing>("TfrmFontSmoothing"),
        maker<TfrmInterval>("TfrmInterval"),
        maker<TfrmPresentation>("TfrmPresentation"),
        maker<TfrmCreativeArt>("TfrmCreativeArt"),
        maker<TfrmEBuilder>("TfrmEBuilder"),
        maker<TfrmEmoticons>("TfrmEmoticons"),
        maker<TfrmExport>("TfrmExport"),
        maker<TfrmCustomText>("TfrmCustomText"),
        maker<TfrmTemplateLibrary>("TfrmTemplateLibrary"),
        maker<TfrmAddTemplate>("TfrmAddTemplate"),
        maker<TfrmPageDividers>("TfrmPageDividers"),
        maker<TfrmOnlineStorage>("TfrmOnlineStorage"),
    };
}

} // namespace

StartupDialogs::~StartupDialogs()
{
    destroyAll();
}

QStringList StartupDialogs::creationOrder()
{
    QStringList names;
    for (const Maker &m : makers())
        names.append(QString::fromLatin1(m.className));
    return names;
}

void StartupDialogs::createAll(QWidget *parent)
{
    for (const Maker &m : makers()) {
        QDialog *dialog = m.make(parent);
        if (dialog->objectName().isEmpty())
            dialog->setObjectName(QString::fromLatin1(m.className));
        dialog->setProperty("lumaroClassName", QString::fromLatin1(m.className));
        m_dialogs.append(dialog);
    }
}

void StartupDialogs::destroyAll()
{
    while (!m_dialogs.isEmpty()) {
        QPointer<QDialog> dialog = m_dialogs.takeLast();
        delete dialog.data();
    }
}

QDialog *StartupDialogs::dialog(const QString &className) const
{
    for (const QPointer<QDialog> &d : m_dialogs) {
        if (d && d->property("lumaroClassName").toString() == className)
            return d;
    }
    return nullptr;
}

THistoryForm *StartupDialogs::historyForm() const
{
    return qobject_cast<THistoryForm *>(dialog(QStringLiteral("THistoryForm")));
}
