#!/usr/bin/env bash
# The figures README gives for the safe respawn, measured with brinegate-autoplay:
#   idle: levels 2 to 6, SEEDS seeds each, no input after "Play!": the share of
#         respawns still afloat 10 s later, assist on (IDLE_MINUTES_ON game minutes a
#         run) and off (IDLE_MINUTES_OFF: without the assist a ship sinks far more
#         often, so fewer minutes give as many respawns);
#   play: the bot playing PLAY_MINUTES game minutes from level 1 on PLAY_SEEDS seeds:
#         the median level reached, assist on and off; and the same on NOVICE_SEEDS
#         seeds by a bot that never repairs, as a player who has not found 'R'.
# The two halves (on, off) run side by side. Some 20 minutes of both cores of a
# desktop machine.
# Usage: autoplay/measure.sh [BUILD_DIR]   (needs a display: run under xvfb-run)
set -euo pipefail
BUILD=${1:-build}
BOT="$BUILD/autoplay/brinegate-autoplay"
SEEDS=${SEEDS:-5}
IDLE_MINUTES_ON=${IDLE_MINUTES_ON:-5}
IDLE_MINUTES_OFF=${IDLE_MINUTES_OFF:-2}
PLAY_SEEDS=${PLAY_SEEDS:-10}
PLAY_MINUTES=${PLAY_MINUTES:-15}
NOVICE_SEEDS=${NOVICE_SEEDS:-5}
OUT=${OUT:-autoplay-figures.jsonl}
export BRINEGATE_NO_SOUND=1

half() {  # assist, idle minutes, output file
    : > "$3"
    for level in 2 3 4 5 6; do
        for seed in $(seq 1 "$SEEDS"); do
            "$BOT" --seed "$seed" --level "$level" --minutes "$2" --idle --safe-respawn "$1" 2>/dev/null >> "$3"
        done
    done
    for seed in $(seq 1 "$PLAY_SEEDS"); do
        "$BOT" --seed "$seed" --minutes "$PLAY_MINUTES" --safe-respawn "$1" 2>/dev/null >> "$3"
    done
    for seed in $(seq 1 "$NOVICE_SEEDS"); do
        "$BOT" --seed "$seed" --minutes "$PLAY_MINUTES" --safe-respawn "$1" --no-repair 2>/dev/null >> "$3"
    done
}

# SUMMARY_ONLY=1 sums up an existing $OUT without playing.
if [ "${SUMMARY_ONLY:-0}" != 1 ]; then
    half on "$IDLE_MINUTES_ON" "$OUT.on" &
    half off "$IDLE_MINUTES_OFF" "$OUT.off" &
    wait
    cat "$OUT.on" "$OUT.off" > "$OUT"
    rm -f "$OUT.on" "$OUT.off"
fi
# One line per assist and kind: idle survival over all respawns judged, median level.
awk '
function field(name,   m) { return match($0, "\"" name "\": [^,}]*") ? substr($0, RSTART + length(name) + 4, RLENGTH - length(name) - 4) : "" }
{
    a = field("safe_respawn") == "true" ? "on" : "off"
    if (field("idle") == "true") {
        judged[a] += field("respawns_judged"); respawns[a] += field("respawns")
        survived[a] += field("respawns_judged") * (field("respawn_survival_10s") == "null" ? 0 : field("respawn_survival_10s"))
    } else {
        if (field("repairs") == "false") a = a " without repairs"
        levels[a] = levels[a] " " field("level"); sunk[a] += field("sinkings"); runs[a]++
    }
}
END {
    for (a in judged)
        printf "assist %s idle levels 2-6: %d respawns, %d judged, survival_10s %.3f\n", a, respawns[a], judged[a], survived[a] / judged[a]
    for (a in levels) {
        n = split(levels[a], l, " ")
        for (i = 2; i <= n; i++) for (j = i; j > 1 && l[j] + 0 < l[j - 1] + 0; j--) { t = l[j]; l[j] = l[j - 1]; l[j - 1] = t }
        med = n % 2 ? l[(n + 1) / 2] : (l[n / 2] + l[n / 2 + 1]) / 2
        printf "assist %s playing from level 1:%s -> median level %s, sinkings per game %.1f\n", a, levels[a], med, sunk[a] / runs[a]
    }
}' "$OUT"
