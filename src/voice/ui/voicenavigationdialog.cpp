#include "voice/ui/voicenavigationdialog.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velk {

VoiceNavigationDialog::VoiceNavigationDialog(VoiceCues& cues, const QString& workingFolder, QWidget* parent)
    : QDialog(parent), m_cues(cues)
{
    setObjectName(QStringLiteral("voiceNavigationDialog"));
    setWindowTitle(QStringLiteral("Voice Navigation Settings"));
    auto* layout = new QVBoxLayout(this);
    const auto option = [this, layout](const QString& objectName, const QString& text,
                                       NavigationLevel level) {
        auto* button = new QRadioButton(text, this);
        button->setObjectName(objectName);
        button->setAccessibleName(text);
        connect(button, &QRadioButton::clicked, this, [this, level] { choose(level); });
        layout->addWidget(button);
        return button;
    };
    m_off = option(QStringLiteral("navigationOffOption"), QStringLiteral("Off"), NavigationLevel::Off);
    m_callOnly = option(QStringLiteral("navigationCallOption"), QStringLiteral("Call Only"),
                        NavigationLevel::CallOnly);
    m_allFields = option(QStringLiteral("navigationAllOption"), QStringLiteral("All Data Fields"),
                         NavigationLevel::AllFields);

    auto* hint = new QLabel(QStringLiteral("Put the audio wave files in this program's working directory: ") +
                                QDir::toNativeSeparators(workingFolder),
                            this);
    hint->setObjectName(QStringLiteral("navigationHint"));
    hint->setWordWrap(true);
    hint->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(hint);

    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("navigationDoneButton"));
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, [this] {
        hide();
        emit levelAccepted(selectedLevel());
    });
    layout->addWidget(done);
}

void VoiceNavigationDialog::showLevel(NavigationLevel level)
{
    (level == NavigationLevel::AllFields  ? m_allFields
     : level == NavigationLevel::CallOnly ? m_callOnly
                                          : m_off)
        ->setChecked(true);
    show();
    raise();
    activateWindow();
}

NavigationLevel VoiceNavigationDialog::selectedLevel() const
{
    if (m_allFields->isChecked()) {
        return NavigationLevel::AllFields;
    }
    return m_callOnly->isChecked() ? NavigationLevel::CallOnly : NavigationLevel::Off;
}

void VoiceNavigationDialog::choose(NavigationLevel level)
{
    m_cues.levelChosen(level);
}

} // namespace velk
