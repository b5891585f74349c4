#pragma once

#include "RecordingHost.h"
#include "UnitFixture.h"

// A device operation's surroundings without a window: the unit, the serial
// host and a recording stand-in for the operation's host.
struct DeviceFixture : UnitFixture {
    using UnitFixture::UnitFixture;

    QByteArray text1() const { return host.text1.toLatin1(); }
    QByteArray text2() const { return host.text2.toLatin1(); }

    RecordingHost host;
};
