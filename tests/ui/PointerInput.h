#pragma once
// The pointer as the platform delivers it: a double click is press, release, double click,
// release; hovering is a move without a button.
#include <QApplication>
#include <QMouseEvent>
#include <QTest>

namespace umbrix::ui::test {

inline void DoubleClick(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(widget, button, {}, at);
    QTest::mouseDClick(widget, button, {}, at);
    QTest::mouseRelease(widget, button, {}, at);
}

inline void Hover(QWidget* widget, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

inline void Drag(QWidget* widget, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(widget, button, {}, from);
    QTest::mouseMove(widget, (from + to) / 2);
    QTest::mouseRelease(widget, button, {}, to);
}

}  // namespace umbrix::ui::test
