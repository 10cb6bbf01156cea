// Finding a dialog's control by its control id, which the dialogs use as the control's object name.
#pragma once

#include <QString>
#include <QWidget>
#include <gtest/gtest.h>

namespace qv::test {

template <class T = QWidget>
T* Control(QWidget& dialog, int id)
{
    T* w = dialog.findChild<T*>(QString::number(id));
    EXPECT_NE(w, nullptr) << id;
    return w;
}

} // namespace qv::test
