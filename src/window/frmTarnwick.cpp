#include "frmTarnwick.h"

#include "Captions.h"
#include "MessageBoxes.h"
#include "OpenFileDialog.h"
#include "TextFitting.h"
#include "batch/Messages.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// The Japanese proportional gothic the window was designed with, then its closest kin.
const QStringList gothicFamilies = {u"ＭＳ Ｐゴシック"_s, u"MS PGothic"_s, u"IPAPGothic"_s, u"VL PGothic"_s,
                                    u"Noto Sans CJK JP"_s, u"TakaoPGothic"_s, u"IPAexGothic"_s};

QFont gothic(qreal pointSize)
{
    QFont font;
    font.setFamilies(gothicFamilies);
    font.setPointSizeF(pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

std::optional<QString> askForFile(QWidget *parent, const QString &initialFile)
{
    QFileDialog dialog(parent);
    tarnwick::setUpOpenFileDialog(dialog, initialFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().first());
}

void showProblem(QWidget *parent, const QString &message)
{
    tarnwick::showMessageBox(parent, message, QMessageBox::Warning);
}

void showNotice(QWidget *parent, const QString &message)
{
    tarnwick::showMessageBox(parent, message, QMessageBox::Information);
}

bool askYesOrNo(QWidget *parent, const QString &question)
{
    return tarnwick::showMessageBox(parent, question, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QString> askForFolder(QWidget *parent, const QString &initialFolder)
{
    const QString chosen = QFileDialog::getExistingDirectory(parent, QCoreApplication::translate("tarnwick", "Output folder"), initialFolder);
    if (chosen.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(chosen);
}

const QSize designedSize(313, 129);

} // namespace

frmTarnwick::frmTarnwick(QWidget *parent)
    : QWidget(parent)
    , dialogs{askForFile, showProblem, showNotice, askYesOrNo, askForFolder}
    , characterRule_(tarnwick::systemCharacterRule())
{
    // The window is Japanese whatever the locale and whoever makes it; installed already, the
    // translation is kept as it is.
    tarnwick::installJapaneseTranslations(*QCoreApplication::instance(), false);
    setWindowTitle(u"Tarnwick"_s);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    // Wider, for long paths: the path boxes grow with it; its height stays.
    setMinimumSize(designedSize);
    setMaximumHeight(designedSize.height());
    resize(designedSize);
    setFont(gothic(9));
    QIcon icon;
    icon.addFile(u":/icons/tarnwick-16.png"_s);
    icon.addFile(u":/icons/tarnwick-32.png"_s);
    setWindowIcon(icon);

    const QFont large = gothic(11.25);
    // Created in tab order, which is also the order the focus visits them: top to bottom, left
    // to right.
    const auto label = [&](const QString &text, QRect geometry, const QFont &font) {
        auto *control = new QLabel(text, this);
        control->setGeometry(geometry);
        control->setFont(font);
        control->setWordWrap(true);
        control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        tarnwick::fitTextToBox(control);
        return control;
    };
    const auto textBox = [&](QRect geometry) {
        auto *control = new TextBox(this);
        control->setGeometry(geometry);
        return control;
    };
    const auto button = [&](const QString &text, QRect geometry) {
        auto *control = new QPushButton(text, this);
        control->setGeometry(geometry);
        control->setAutoDefault(false);
        return control;
    };
    const auto checkBox = [&](const QString &text, QRect geometry, const QFont &font) {
        auto *control = new QCheckBox(text, this);
        control->setGeometry(geometry);
        control->setFont(font);
        return control;
    };
    Label1 = label(QCoreApplication::translate("tarnwick", "Source log"), {8, 10, 81, 17}, large);
    Text1 = textBox({96, 8, 177, 18});
    Command3 = button(QCoreApplication::translate("tarnwick", "Browse"), {272, 8, 33, 17});
    Label2 = label(QCoreApplication::translate("tarnwick", "Output file"), {8, 34, 81, 17}, large);
    Text2 = textBox({96, 32, 209, 18});
    Label3 = label(QCoreApplication::translate("tarnwick", "Output extension"), {8, 58, 81, 17}, large);
    Text3 = textBox({96, 56, 57, 18});
    Check1 = checkBox(QCoreApplication::translate("tarnwick", "Overwrite the log"), {168, 56, 145, 16}, large);
    Check2 = checkBox(QCoreApplication::translate("tarnwick", "Try $ (sideways scrolling)"), {168, 72, 145, 16}, font());
    Label4 = label(QCoreApplication::translate("tarnwick", "Removes BackSpace(0x08) from the log."), {4, 84, 89, 41}, font());
    description_ = Label4->text();
    Command1 = button(captions::convert(), {96, 96, 97, 25});
    Command2 = button(captions::exit(), {208, 96, 97, 25});
    // The progress it shows while disabled reads as plainly as its caption.
    QPalette progress = Command1->palette();
    progress.setColor(QPalette::Disabled, QPalette::ButtonText, progress.color(QPalette::Active, QPalette::ButtonText));
    Command1->setPalette(progress);
    // Enter in either path box converts, as in a dialog whose default button 変換 is.
    Command1->setDefault(true);
    for (TextBox *path : {Text1, Text2})
        connect(path, &QLineEdit::returnPressed, Command1, &QPushButton::click);

    connect(Text1, &QLineEdit::textChanged, this, &frmTarnwick::Text1_Change);
    connect(Text3, &QLineEdit::textChanged, this, &frmTarnwick::Text3_Change);
    connect(Text2, &QLineEdit::textChanged, this, &frmTarnwick::showOutputPathInUse);
    connect(Check1, &QCheckBox::toggled, this, &frmTarnwick::Check1_Click);
    connect(Check2, &QCheckBox::toggled, this, &frmTarnwick::Check2_Click);
    connect(Command1, &QPushButton::clicked, this, [this] {
        const auto outcome = Command1_Click();
        if (outcome && outcome->status == tarnwick::RunOutcome::Status::Failed)
            reportFailure(tarnwick::failureSentence(*outcome, tarnwick::Language::Japanese));
    });
    connect(Command2, &QPushButton::clicked, this, &frmTarnwick::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmTarnwick::Command3_Click);

    controlsItem = new QAction(QCoreApplication::translate("tarnwick", "Process terminal control sequences"), this);
    controlsItem->setCheckable(true);
    connect(controlsItem, &QAction::toggled, this, &frmTarnwick::keepControlsSetting);
    keepDotsItem = new QAction(QCoreApplication::translate("tarnwick", "Keep the dots of file names"), this);
    keepDotsItem->setCheckable(true);
    connect(keepDotsItem, &QAction::toggled, this, &frmTarnwick::keepKeepDotsSetting);
    maskItem = new QAction(QCoreApplication::translate("tarnwick", "Mask secrets"), this);
    maskItem->setCheckable(true);
    connect(maskItem, &QAction::toggled, this, &frmTarnwick::keepMaskSetting);
    auto *encodingMenu = new QMenu(QCoreApplication::translate("tarnwick", "Encoding"), this);
    encodingItems = new QActionGroup(this);
    // The encodings' own names read the same in every language.
    for (const auto &[text, setting] : {std::pair{QCoreApplication::translate("tarnwick", "Automatic"), tarnwick::EncodingSetting::Auto},
                                        std::pair{QCoreApplication::translate("tarnwick", "System"), tarnwick::EncodingSetting::System},
                                        std::pair{u"UTF-8"_s, tarnwick::EncodingSetting::Utf8}, std::pair{u"Shift-JIS"_s, tarnwick::EncodingSetting::ShiftJis}}) {
        QAction *item = encodingMenu->addAction(text);
        item->setCheckable(true);
        item->setData(static_cast<int>(setting));
        encodingItems->addAction(item);
    }
    connect(encodingItems, &QActionGroup::triggered, this, &frmTarnwick::keepEncodingSetting);
    recursiveItem = new QAction(QCoreApplication::translate("tarnwick", "Convert the logs of subfolders too"), this);
    recursiveItem->setCheckable(true);
    connect(recursiveItem, &QAction::toggled, this, &frmTarnwick::keepRecursiveSetting);
    auto *outputMenu = new QMenu(QCoreApplication::translate("tarnwick", "Output folder"), this);
    besideLogItem = outputMenu->addAction(QCoreApplication::translate("tarnwick", "Beside each log"));
    besideLogItem->setCheckable(true);
    connect(besideLogItem, &QAction::triggered, this, [this] { keepOutputFolder({}); });
    outputFolderItem = outputMenu->addAction(QString());
    outputFolderItem->setCheckable(true);
    connect(outputFolderItem, &QAction::triggered, this, [this] { showOutputFolder(); });
    chooseOutputFolderItem = outputMenu->addAction(QCoreApplication::translate("tarnwick", "Choose a folder..."));
    connect(chooseOutputFolderItem, &QAction::triggered, this, &frmTarnwick::chooseOutputFolder);
    // Beside each log or in the folder set: one of the two.
    auto *outputChoice = new QActionGroup(this);
    outputChoice->addAction(besideLogItem);
    outputChoice->addAction(outputFolderItem);
    for (QWidget *target : std::initializer_list<QWidget *>{this, Label1, Label2, Label3, Label4}) {
        target->setContextMenuPolicy(Qt::ActionsContextMenu);
        target->addActions({controlsItem, keepDotsItem, maskItem, encodingMenu->menuAction(), recursiveItem, outputMenu->menuAction()});
    }

    // Every control takes a dropped file the way the window does, and no text is dropped
    // into a box.
    setAcceptDrops(true);
    for (QWidget *control : findChildren<QWidget *>()) {
        control->setAcceptDrops(true);
        control->installEventFilter(this);
    }
    Text1->setFocus();
    // Styles draw the focus frame only once the keyboard has moved the focus; the focused
    // control shows that it has the focus from the start.
    setAttribute(Qt::WA_KeyboardFocusChange);
}

void frmTarnwick::resizeEvent(QResizeEvent *event)
{
    const int wider = width() - designedSize.width();
    Text1->setGeometry(96, 8, 177 + wider, 18);
    Command3->move(272 + wider, 8);
    Text2->setGeometry(96, 32, 209 + wider, 18);
    QWidget::resizeEvent(event);
}
