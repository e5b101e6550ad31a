#include "recordgridmodel.hpp"

#include "common/cp949.hpp"
#include "common/text.hpp"

namespace ondavia::gui {

namespace {
constexpr int kWidths[kGridColumnCount] = {140, 80, 43, 43, 43, 48, 66, 80, 80,
                                           48,  59, 59, 48, 43, 66, 43, 43, 43};

QString Bytes(std::string_view s) { return QString::fromStdString(Cp949ToUtf8(s)); }

// One decimal, without a sign on a value that rounds to zero.
QString OneDecimal(double v) {
    QString text = QString::number(v, 'f', 1);
    return text == QLatin1String("-0.0") ? QStringLiteral("0.0") : text;
}
}  // namespace

QString GroupDigits(long long value) { return QString::fromStdString(FormatThousands(value)); }

RecordGridModel::RecordGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void RecordGridModel::SetRecording(const Recording* rec) {
    beginResetModel();
    rec_ = rec;
    endResetModel();
}

int RecordGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !rec_ ? 0 : static_cast<int>(rec_->rows.size());
}

int RecordGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kGridColumnCount;
}

QString RecordGridModel::CellText(const GridRow& r, int column) {
    const QLatin1Char space(' ');
    switch (column) {
        case ColInfoDateTime:
            return Bytes(r.DateTimeText());
        case ColInfoTime:
            return Bytes(r.TimeText());
        case ColSpeed:
            return QString::number(r.speed) + space;
        case ColRPM:
            return QString::number(r.rpm) + space;
        case ColBrake:
            return r.brakeOn ? QStringLiteral("ON") : QStringLiteral("OFF");
        case ColKm:
            return GroupDigits(r.km) + space;
        case ColTotKm:
            return GroupDigits(r.totKm) + space;
        case ColGpsX:
            return QString::number(r.gpsX, 'f', 6) + space;
        case ColGpsY:
            return QString::number(r.gpsY, 'f', 6) + space;
        case ColGpsAngle:
            return QString::number(r.azimuth) + space;
        case ColGx:
            return OneDecimal(r.gx) + space;
        case ColGy:
            return OneDecimal(r.gy) + space;
        case ColState:
            return QStringLiteral("%1").arg(r.state, 2, 10, QLatin1Char('0'));
        case ColGear:
            return Bytes(r.Gear());
        case ColFuel:
            return r.extended ? QString::number(r.fuel) : QString();
        case ColAuto:
            return Bytes(r.Autonomous());
        case ColAccel:
            return Bytes(r.Accel());
        case ColSteer:
            return Bytes(r.Steer());
        default:
            return {};
    }
}

Qt::Alignment RecordGridModel::CellAlignment(int column) {
    switch (column) {
        case ColSpeed:
        case ColRPM:
        case ColKm:
        case ColTotKm:
        case ColGpsX:
        case ColGpsY:
        case ColGpsAngle:
        case ColGx:
        case ColGy:
        case ColFuel:
            return Qt::AlignRight | Qt::AlignVCenter;
        default:
            return Qt::AlignCenter;
    }
}

int RecordGridModel::ColumnWidth(int column) {
    return column >= 0 && column < kGridColumnCount ? kWidths[column] : 0;
}

QVariant RecordGridModel::data(const QModelIndex& index, int role) const {
    if (!rec_ || !index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::DisplayRole)
        return CellText(rec_->rows[static_cast<size_t>(index.row())], index.column());
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(CellAlignment(index.column()));
    return {};
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < kGridColumnCount)
        return QString::fromUtf8(kGridCaptions[section]);
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    if (orientation == Qt::Vertical && role == Qt::DisplayRole) return QString();
    return {};
}

}  // namespace ondavia::gui
