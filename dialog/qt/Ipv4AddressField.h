#pragma once

#include "SharedSettings.h"

#include <QFrame>

#include <array>

class QLineEdit;

namespace kestrun {

// An IPv4 address field: four octet boxes separated by dots. Typing three digits or "." moves
// on to the next box; a value above 255 becomes 255. An empty field reads 0.0.0.0; one with
// some boxes blank is partly filled, which is no address.
class Ipv4AddressField : public QFrame {
    Q_OBJECT

public:
    explicit Ipv4AddressField(QWidget* parent = nullptr);

    Ipv4Octets Address() const;
    bool IsPartlyFilled() const;
    void SetAddress(const Ipv4Octets& address);
    void Clear();
    // Puts the focus on the first blank box, or the first box when none is blank, its text
    // selected.
    void FocusFirstBlank();

signals:
    // Any box's text changed, by typing or by SetAddress() and Clear().
    void AddressChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The octet boxes have no frame of their own: the field's frame shows where the focus is.
    void paintEvent(QPaintEvent* event) override;

private:
    void OnOctetEdited(int octet);
    bool HasFocusInside() const;

    std::array<QLineEdit*, 4> m_Octets{};
};

} // namespace kestrun
