#pragma once

#include <QComboBox>

namespace somnar {

// A picker: a combo box the user may also type into, which completes nothing while typing.
// Its list is built when it is first needed, not at start-up.
class PickerBox : public QComboBox {
  public:
    explicit PickerBox(QWidget* parent);

  protected:
    void changeEvent(QEvent* event) override;
};

}  // namespace somnar
