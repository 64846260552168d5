#pragma once
// Windows that show themselves modally block the test until they close. when_modal_opens runs an
// action on the next modal window with a given object name once it is up; a window that stays
// open longer than ten seconds is closed so that a fault cannot hang the test.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace tkv::test {

inline void when_modal_opens(const QString& object_name, std::function<void(QDialog*)> action) {
    auto* poll = new QTimer;
    auto* since = new QElapsedTimer;
    since->start();
    QObject::connect(poll, &QTimer::timeout, [poll, since, object_name, action = std::move(action)] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (modal && modal->objectName() == object_name && modal->isVisible()) {
            poll->stop();
            poll->deleteLater();
            delete since;
            action(modal);
            return;
        }
        if (since->elapsed() > 10000) {
            ADD_FAILURE() << object_name.toStdString() << " did not open";
            if (modal) modal->done(QDialog::Rejected);
            poll->stop();
            poll->deleteLater();
            delete since;
        }
    });
    poll->start(10);
}

} // namespace tkv::test
