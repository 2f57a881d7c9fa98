# Wine environment for the tests. Source it: . scripts/wine-env.sh
# A WINEPREFIX or WINEDEBUG already set wins, so a caller can point at another prefix.
VORLANE_REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export VORLANE_REPO
export WINEPREFIX="${WINEPREFIX:-$VORLANE_REPO/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko install prompts, and no copies of shortcuts and their icons for the
# Linux desktop in $HOME.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# A sound device that accepts and discards everything, so playback is tested for real
# on machines without a sound card.
export ALSA_CONFIG_PATH="$VORLANE_REPO/scripts/alsa-null.conf"
