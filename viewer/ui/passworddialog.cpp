#include "passworddialog.h"

#include "plainmessage.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// Wide enough for the prompt, its note and an ordinary file name on one line each.
const int promptMinimumWidth = 420;

} // namespace

PasswordDialog::PasswordDialog(const QString& documentPath, QWidget* parent)
    : QDialog(parent), fileLabel(new QLabel(this)), failureLabel(new QLabel(this)),
      promptLabel(new QLabel(QStringLiteral("Masukkan Password:"), this)),
      field(new QLineEdit(this)), showBox(new QCheckBox(QStringLiteral("Tampilkan password"), this))
{
    setObjectName(QStringLiteral("passwordDialog"));
    setWindowTitle(QStringLiteral("Password"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    fileLabel->setObjectName(QStringLiteral("fileLabel"));
    const QFileInfo file(documentPath);
    // Document names are the user's data, never markup.
    fileLabel->setTextFormat(Qt::PlainText);
    fileLabel->setText(QStringLiteral("Berkas: ") + file.fileName());
    fileLabel->setToolTip(PlainMessage::toolTip(QDir::toNativeSeparators(file.absoluteFilePath())));
    QFont bold = fileLabel->font();
    bold.setBold(true);
    fileLabel->setFont(bold);

    failureLabel->setTextFormat(Qt::PlainText);
    failureLabel->setStyleSheet(QStringLiteral("color: #bf1717;"));
    failureLabel->setWordWrap(true);
    failureLabel->hide();

    field->setEchoMode(QLineEdit::Password);
    field->setAccessibleName(QStringLiteral("Password"));
    field->setAccessibleDescription(QStringLiteral("Password berkas ") + file.fileName());
    promptLabel->setBuddy(field);
    connect(showBox, &QCheckBox::toggled, this, [this](bool shown) {
        field->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Batal"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fileLabel);
    layout->addWidget(failureLabel);
    layout->addWidget(promptLabel);
    layout->addWidget(field);
    layout->addWidget(showBox);
    layout->addWidget(buttons);
    // A prompt, not a window to arrange: its size is what its content needs.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // As wide as the file name needs, up to most of the screen; a name longer than
    // that keeps its start and its end, and the tooltip has it whole.
    int widest = 4000;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        widest = screen->availableGeometry().width() * 4 / 5;
    const int margins = 40;
    const QFontMetrics metrics(bold);
    if (metrics.horizontalAdvance(fileLabel->text()) > widest - margins)
        fileLabel->setText(
            metrics.elidedText(fileLabel->text(), Qt::ElideMiddle, widest - margins));
    setMinimumWidth(
        std::min(widest, std::max(promptMinimumWidth,
                                  metrics.horizontalAdvance(fileLabel->text()) + margins)));
    field->setFocus();
}

QString PasswordDialog::password() const
{
    return field->text();
}

void PasswordDialog::setLastTryFailed(bool wasEmpty, int triesLeft)
{
    const QString what = wasEmpty ? QStringLiteral("Password belum diisi.")
                                  : QStringLiteral("Password yang anda masukkan salah.");
    failureLabel->setText(what + QStringLiteral(" Sisa percobaan: %1 kali.").arg(triesLeft));
    failureLabel->show();
}

QString PasswordDialog::fileText() const
{
    return fileLabel->text();
}

QString PasswordDialog::failureText() const
{
    return failureLabel->isHidden() ? QString() : failureLabel->text();
}

QString PasswordDialog::promptText() const
{
    return promptLabel->text();
}
