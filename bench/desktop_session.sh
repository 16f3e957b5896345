# Sourced by the start-up benchmarks: a private Xvfb and session bus, as on a desktop
# (without a bus every Qt program first tries to launch one), and a work folder $work; all
# end with the script.
work="$(mktemp -d)"
chmod 700 "$work"
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
bus_pid=""
trap 'kill $xvfb $bus_pid 2> /dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do xdpyinfo -display "$display" > /dev/null 2>&1 && break; sleep 0.1; done

export DISPLAY="$display" XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work/config"
bus_info="$(dbus-daemon --session --fork --print-address=1 --print-pid=1)"
export DBUS_SESSION_BUS_ADDRESS="$(sed -n 1p <<< "$bus_info")"
bus_pid="$(sed -n 2p <<< "$bus_info")"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
