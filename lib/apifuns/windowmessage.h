// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QEvent>

#include <cstdint>

// A message that SendMsg or PostMsg of APIFuns delivers to a widget: a Qt event
// of type QfcMessageEvent::messageType carrying the message number and both
// parameters. The event arrives not accepted: a program answers a message by
// accepting it (in event(), customEvent() or an event filter), and may set
// result. A message nobody accepts gets the library's standard meaning when
// it has one (see lib/README.md). This header is all a program needs: the event has no
// virtual functions of its own, so its layout is its binary interface.
class QfcMessageEvent : public QEvent
{
public:
    static constexpr QEvent::Type messageType = static_cast<QEvent::Type>(QEvent::User + 0x234);

    QfcMessageEvent(std::int32_t number, std::int32_t a, std::int32_t b)
        : QEvent(messageType)
        , message {number}
        , paramA {a}
        , paramB {b}
    {
        setAccepted(false);
    }

    std::int32_t message;
    std::int32_t paramA;
    std::int32_t paramB;
    std::int32_t result = 0; // the answer; SendMsg and PostMsg discard it
};
