#pragma once

#include <QComboBox>
#include <QLineEdit>

// An editable list whose choices are only those made from the list itself.
// QComboBox also "activates" an item when the text typed into its field
// matches it and the editing finishes (Enter, or the focus leaving); here that
// is no choice.
class PresetComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit PresetComboBox(QWidget* parent) : QComboBox(parent)
    {
        auto* field = new QLineEdit(this);
        // Slots run in the order they were connected: these two bracket the
        // combo box's own reaction to a finished edit, connected in between.
        connect(field, &QLineEdit::editingFinished, this, [this] { m_editing = true; });
        setLineEdit(field);
        connect(field, &QLineEdit::editingFinished, this, [this] { m_editing = false; });
        connect(this, &QComboBox::activated, this, [this](int index) {
            if (!m_editing)
                emit chosen(index);
        });
    }

signals:
    void chosen(int index);

private:
    bool m_editing = false;
};
