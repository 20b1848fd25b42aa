# The environment every Wine run of Lumora uses; sourced, not run.
#   lumora_wine_env PREFIX   the prefix, Wine's messages off, and no .NET, browser engine,
#                            menu or browser integration (they would start with every run)
#   lumora_wine_home DIR     HOME and the XDG folders inside DIR (created): Wine links
#                            Documents and Pictures to $HOME, and the recycle bin is
#                            $HOME's trash, so tests keep both away from the real home
lumora_wine_env() {
  export WINEPREFIX=${1:?lumora_wine_env: no prefix}
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winebrowser.exe=d"
}

lumora_wine_home() {
  export HOME=${1:?lumora_wine_home: no folder}
  export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
  export XDG_STATE_HOME="$HOME/.local/state"
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_STATE_HOME"
}
