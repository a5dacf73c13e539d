#pragma once

#include <QWidget>

#include <array>
#include <memory>

#include "tongqiu/field_set.h"

class QLineEdit;

namespace Ui {
class Form1;
}

// The program's one window: three input fields, eleven result fields, "计算" and "退出".
class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // The text box that shows a field.
    [[nodiscard]] QLineEdit* Box(tongqiu::FieldName name) const;

private:
    void Calculate();
    void ConfirmExit();

    [[nodiscard]] tongqiu::FieldSet Fields() const;
    void ShowFields(const tongqiu::FieldSet& fields);

    std::unique_ptr<Ui::Form1> m_ui;
    std::array<QLineEdit*, tongqiu::kFieldCount> m_boxes{};
};
