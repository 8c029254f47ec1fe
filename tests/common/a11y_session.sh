# shellcheck shell=bash
# Sourced by scripts that start the program under test on DISPLAY and read it through the
# accessibility bus: a session bus and an accessibility bus of their own, with the
# registry up and answering before the program starts.
#
# Qt's bridge looks for the accessibility bus two ways as it starts: the root window's
# AT_SPI_BUS property, and the bus launcher on the session bus. When it finds both, its
# second connection now and then takes the place of the first while the program embeds
# itself in the registry, and the program never shows on the bus. So no launcher runs
# here: the bus is published on the root window alone, and the registry is asked before
# the program starts, so that its first call is answered at once.

# Starts both buses in FOLDER and the registry; prints why and returns 1 when one does
# not come up. Their process ids are added to FOLDER/pids. The X server must run with
# -noreset, or it drops the root window's property when its last client leaves.
a11y_session_start() {
  local folder=$1
  dbus-daemon --session --fork --print-address=3 --print-pid=4 \
    3>"$folder/session.address" 4>>"$folder/pids" 2>>"$folder/bus.log" ||
    { echo "the session bus did not start: $(cat "$folder/bus.log")"; return 1; }
  export DBUS_SESSION_BUS_ADDRESS
  DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$folder/session.address")
  # The registry the bus starts finds the bus by this variable, and so does pyatspi.
  export AT_SPI_BUS_ADDRESS=unix:path=$folder/a11y-bus
  dbus-daemon --config-file=/usr/share/defaults/at-spi2/accessibility.conf \
    --address="$AT_SPI_BUS_ADDRESS" --fork --print-pid=4 4>>"$folder/pids" \
    >>"$folder/bus.log" 2>&1 ||
    { echo "the accessibility bus did not start: $(cat "$folder/bus.log")"; return 1; }
  xprop -root -f AT_SPI_BUS 8s -set AT_SPI_BUS "$AT_SPI_BUS_ADDRESS" ||
    { echo "the accessibility bus could not be published on $DISPLAY"; return 1; }
  # The registry is started here, not by the bus: a registry the bus starts asks for a
  # desktop session and, finding none, leaves a session bus of its own running.
  /usr/libexec/at-spi2-registryd >>"$folder/bus.log" 2>&1 &
  echo $! >>"$folder/pids"
  local _
  for _ in $(seq 600); do
    dbus-send --bus="$AT_SPI_BUS_ADDRESS" --print-reply=literal --dest=org.freedesktop.DBus \
      /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner string:org.a11y.atspi.Registry \
      2>/dev/null | grep -q true && break
    sleep 0.05
  done
  # Its first answer says it can take applications in.
  dbus-send --bus="$AT_SPI_BUS_ADDRESS" --print-reply --reply-timeout=120000 \
    --dest=org.a11y.atspi.Registry /org/a11y/atspi/accessible/root \
    org.freedesktop.DBus.Properties.Get string:org.a11y.atspi.Accessible string:ChildCount \
    >/dev/null 2>>"$folder/bus.log" ||
    { echo "the accessibility registry did not answer: $(cat "$folder/bus.log")"; return 1; }
}
