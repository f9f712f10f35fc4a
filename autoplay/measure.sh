#!/usr/bin/env bash
# The figures README gives for the safe respawn, measured with brinegate-autoplay:
#   idle: levels 2 to 6, SEEDS seeds each, IDLE_MINUTES game minutes, no input after
#         "Play!": the share of respawns still afloat 10 s later, assist on and off;
#   play: the bot playing 15 game minutes from level 1 on 10 seeds: the median level.
# Usage: autoplay/measure.sh [BUILD_DIR]   (needs a display: run under xvfb-run)
# Some 50 minutes on one core of a desktop machine.
set -euo pipefail
BUILD=${1:-build}
BOT="$BUILD/autoplay/brinegate-autoplay"
SEEDS=${SEEDS:-5}
IDLE_MINUTES=${IDLE_MINUTES:-5}
PLAY_SEEDS=${PLAY_SEEDS:-10}
PLAY_MINUTES=${PLAY_MINUTES:-15}
OUT=${OUT:-autoplay-figures.jsonl}
export BRINEGATE_NO_SOUND=1
# SUMMARY_ONLY=1 sums up an existing $OUT without playing.
[ "${SUMMARY_ONLY:-0}" = 1 ] || : > "$OUT"
[ "${SUMMARY_ONLY:-0}" = 1 ] || for assist in on off; do
    for level in 2 3 4 5 6; do
        for seed in $(seq 1 "$SEEDS"); do
            "$BOT" --seed "$seed" --level "$level" --minutes "$IDLE_MINUTES" --idle --safe-respawn "$assist" \
                2>/dev/null >> "$OUT"
        done
    done
    for seed in $(seq 1 "$PLAY_SEEDS"); do
        "$BOT" --seed "$seed" --minutes "$PLAY_MINUTES" --safe-respawn "$assist" 2>/dev/null >> "$OUT"
    done
done
# One line per assist and kind: idle survival over all respawns judged, median level.
awk '
function field(name,   m) { return match($0, "\"" name "\": [^,}]*") ? substr($0, RSTART + length(name) + 4, RLENGTH - length(name) - 4) : "" }
{
    a = field("safe_respawn") == "true" ? "on" : "off"
    if (field("idle") == "true") {
        judged[a] += field("respawns_judged"); respawns[a] += field("respawns")
        survived[a] += field("respawns_judged") * (field("respawn_survival_10s") == "null" ? 0 : field("respawn_survival_10s"))
    } else {
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
