#include "Ipv4AddressField.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>

#include <algorithm>
#include <cstddef>

namespace kestrun {

namespace {
constexpr int kMaxOctet = 255;
} // namespace

Ipv4AddressField::Ipv4AddressField(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    auto* layout = new QHBoxLayout(this);
    // Room for the focus frame around the boxes.
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    auto* digits =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this);
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            auto* dot = new QLabel(QStringLiteral("."), this);
            dot->setBackgroundRole(QPalette::Base);
            layout->addWidget(dot);
        }
        auto* octet = new QLineEdit(this);
        octet->setFrame(false);
        octet->setAlignment(Qt::AlignCenter);
        octet->setValidator(digits);
        octet->setObjectName(QStringLiteral("octet%1").arg(i + 1));
        octet->installEventFilter(this);
        connect(octet, &QLineEdit::textEdited, this, [this, i] { OnOctetEdited(i); });
        connect(octet, &QLineEdit::textChanged, this, &Ipv4AddressField::AddressChanged);
        layout->addWidget(octet, 1);
        m_Octets[static_cast<std::size_t>(i)] = octet;
    }
}

Ipv4Octets Ipv4AddressField::Address() const {
    Ipv4Octets address{};
    for (std::size_t i = 0; i < address.size(); ++i) {
        address[i] = static_cast<std::uint8_t>(std::min(m_Octets[i]->text().toInt(), kMaxOctet));
    }
    return address;
}

bool Ipv4AddressField::IsPartlyFilled() const {
    const auto filled = std::count_if(m_Octets.begin(), m_Octets.end(), [](const QLineEdit* octet) {
        return !octet->text().isEmpty();
    });
    return filled > 0 && filled < static_cast<std::ptrdiff_t>(m_Octets.size());
}

void Ipv4AddressField::SetAddress(const Ipv4Octets& address) {
    for (std::size_t i = 0; i < address.size(); ++i) {
        m_Octets[i]->setText(QString::number(address[i]));
    }
}

void Ipv4AddressField::Clear() {
    for (QLineEdit* octet : m_Octets) {
        octet->clear();
    }
}

void Ipv4AddressField::FocusFirstBlank() {
    const auto blank = std::find_if(m_Octets.begin(), m_Octets.end(),
                                    [](const QLineEdit* octet) { return octet->text().isEmpty(); });
    QLineEdit* box = blank != m_Octets.end() ? *blank : m_Octets.front();
    box->setFocus();
    box->selectAll();
}

void Ipv4AddressField::OnOctetEdited(int octet) {
    QLineEdit* box = m_Octets[static_cast<std::size_t>(octet)];
    if (box->text().toInt() > kMaxOctet) {
        box->setText(QString::number(kMaxOctet));
    }
    if (box->text().size() == 3 && octet < 3) {
        m_Octets[static_cast<std::size_t>(octet) + 1]->setFocus();
        m_Octets[static_cast<std::size_t>(octet) + 1]->selectAll();
    }
}

bool Ipv4AddressField::HasFocusInside() const {
    return std::any_of(m_Octets.begin(), m_Octets.end(),
                       [](const QLineEdit* octet) { return octet->hasFocus(); });
}

void Ipv4AddressField::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (!HasFocusInside()) {
        return;
    }
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

bool Ipv4AddressField::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        update();
    }
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->text() == QStringLiteral(".")) {
        for (std::size_t i = 0; i + 1 < m_Octets.size(); ++i) {
            if (watched == m_Octets[i] && !m_Octets[i]->text().isEmpty()) {
                m_Octets[i + 1]->setFocus();
                m_Octets[i + 1]->selectAll();
            }
        }
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace kestrun
