#include "routetimewindow.hpp"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimeEdit>

#include "app/services.hpp"
#include "output/mappage.hpp"

namespace ondavia::gui {

TFrmEnterRouteTime::TFrmEnterRouteTime(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("경로 시간 입력"));
    setModal(true);
    LblGuide =
        new QLabel(QStringLiteral("출력할 경로의 시작 시간과 종료 시간을 입력하세요."), this);
    auto edit = [this] {
        auto* e = new QTimeEdit(this);
        e->setDisplayFormat(QStringLiteral("HH:mm"));
        e->setAlignment(Qt::AlignCenter);
        e->installEventFilter(this);
        return e;
    };
    TEdtStartTime = edit();
    TEdtEndTime = edit();
    BtnOk = new QPushButton(QStringLiteral("입력"), this);
    BtnCancel = new QPushButton(QStringLiteral("취소"), this);

    auto* times = new QGridLayout;
    times->addWidget(new QLabel(QStringLiteral("시작 시간"), this), 0, 0, Qt::AlignCenter);
    times->addWidget(new QLabel(QStringLiteral("종료 시간"), this), 0, 2, Qt::AlignCenter);
    times->addWidget(TEdtStartTime, 1, 0);
    times->addWidget(new QLabel(QStringLiteral("~"), this), 1, 1, Qt::AlignCenter);
    times->addWidget(TEdtEndTime, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LblGuide);
    layout->addLayout(times);
    layout->addLayout(buttons);
    setTabOrder(TEdtStartTime, TEdtEndTime);
    setTabOrder(TEdtEndTime, BtnOk);
    setTabOrder(BtnOk, BtnCancel);

    connect(BtnOk, &QPushButton::clicked, this, [this] { BtnOkClick(); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmEnterRouteTime::FormShow() {
    const QString format = QStringLiteral("HH:mm");
    TEdtStartTime->setTime(QTime::fromString(StartTime.left(5), format));
    TEdtEndTime->setTime(QTime::fromString(EndTime.left(5), format));
    TEdtStartTime->setFocus();
}

void TFrmEnterRouteTime::showEvent(QShowEvent* event) {
    FormShow();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::showEvent(event);
}

void TFrmEnterRouteTime::BtnOkClick() {
    RouteTimeCheck check =
        CheckRouteTime(StartTime.toStdString(), EndTime.toStdString(),
                       TEdtStartTime->text().toStdString(), TEdtEndTime->text().toStdString());
    switch (check.verdict) {
        case RouteTimeVerdict::StartOutside:
            ShowError(this, QString::fromUtf8(kRouteStartOutsideMessage));
            TEdtStartTime->setFocus();
            return;
        case RouteTimeVerdict::EndOutside:
            ShowError(this, QString::fromUtf8(kRouteEndOutsideMessage));
            TEdtEndTime->setFocus();
            return;
        case RouteTimeVerdict::Accepted:
            break;
    }
    StartTime = QString::fromStdString(check.start);
    EndTime = QString::fromStdString(check.end);
    done(1);
}

bool TFrmEnterRouteTime::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter walks on through the window rather than closing it.
            if (watched == TEdtStartTime) {
                TEdtEndTime->setFocus();
                return true;
            }
            if (watched == TEdtEndTime) {
                BtnOk->setFocus();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

int EnterRouteTime(QWidget* parent, QString& StartTime, QString& EndTime) {
    TFrmEnterRouteTime window(parent);
    window.StartTime = StartTime;
    window.EndTime = EndTime;
    const int result = window.exec();
    if (result == 1) {
        StartTime = window.StartTime;
        EndTime = window.EndTime;
    }
    return result;
}

}  // namespace ondavia::gui
