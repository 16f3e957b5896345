#pragma once

#include <QComboBox>
#include <QFont>
#include <optional>

namespace somnar {

// A picker: a combo box the user may also type into, which completes nothing while typing.
// Its list is built when it is first needed, not at start-up.
class PickerBox : public QComboBox {
  public:
    // `font`: the picker's own, given before its typing field exists so that the field is
    // laid out once.
    PickerBox(QWidget* parent, const std::optional<QFont>& font);

  protected:
    void changeEvent(QEvent* event) override;
};

}  // namespace somnar
