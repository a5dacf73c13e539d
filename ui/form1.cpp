#include "form1.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>

#include "failure_report.h"
#include "tongqiu/calculate.h"
#include "ui_form1.h"

namespace {

// The user guide: beside the program on Windows and in a build, with the page in the shared data
// folder of a Linux installation.
QString GuidePath() {
    const QDir folder(QCoreApplication::applicationDirPath());
    const QString name = QStringLiteral("使用说明.html");
    const QString installed = folder.filePath(QStringLiteral("../share/tongqiu/") + name);
    return QDir::cleanPath(QFileInfo::exists(installed) ? installed : folder.filePath(name));
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent), m_ui(std::make_unique<Ui::Form1>()) {
    m_ui->setupUi(this);
    for (const tongqiu::FieldName name : tongqiu::kAllFields) {
        const auto objectName = QString::fromLatin1(tongqiu::NameOf(name));
        m_boxes[static_cast<std::size_t>(name)] = findChild<QLineEdit*>(objectName);
        Q_ASSERT(Box(name) != nullptr);
    }
    connect(m_ui->Command1, &QPushButton::clicked, this, &Form1::Calculate);
    connect(m_ui->Command2, &QPushButton::clicked, this, &Form1::ConfirmExit);
    // F1 opens the user guide in the system's browser.
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [] { QDesktopServices::openUrl(QUrl::fromLocalFile(GuidePath())); });
    m_ui->Text1->setFocus();
}

Form1::~Form1() = default;

QLineEdit* Form1::Box(tongqiu::FieldName name) const {
    return m_boxes[static_cast<std::size_t>(name)];
}

tongqiu::FieldSet Form1::Fields() const {
    tongqiu::FieldSet fields;
    for (const tongqiu::FieldName name : tongqiu::kAllFields) {
        fields.Set(name, Box(name)->text().toStdString());
    }
    return fields;
}

// Only boxes whose text changed are written, so the inputs keep their cursor and undo history.
void Form1::ShowFields(const tongqiu::FieldSet& fields) {
    for (const tongqiu::FieldName name : tongqiu::kAllFields) {
        const QString text = QString::fromStdString(fields.Get(name));
        if (Box(name)->text() != text) Box(name)->setText(text);
    }
}

void Form1::Calculate() {
    tongqiu::FieldSet fields = Fields();
    const auto failure = tongqiu::Calculate(fields);
    ShowFields(fields);
    if (!failure) return;

    ReportFailure(this, *failure);
    // Send the user straight to the field to correct, ready to type over it.
    if (failure->field) {
        activateWindow();
        QLineEdit* box = Box(*failure->field);
        box->setFocus();
        box->selectAll();
    }
}

void Form1::ConfirmExit() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("请问"),
                    QStringLiteral("确定要退出系统吗？"), QMessageBox::Yes | QMessageBox::No, this);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    if (box.exec() == QMessageBox::Yes) close();
}
