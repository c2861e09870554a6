#!/usr/bin/env bash
# completion_test.sh COMPLETION_FILE TARVINE: completes a few prefixes as bash would on TAB and
# checks the offers.
set -u
source "$1"
tarvine=$2
failed=0

# expect "WORDS..." "OFFER": completing the last of WORDS offers OFFER among its answers.
expect() {
  read -r -a COMP_WORDS <<<"$1"
  COMP_WORDS=("$tarvine" "${COMP_WORDS[@]:1}")
  [[ $1 == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  _tarvine
  if [[ " ${COMPREPLY[*]} " != *" $2 "* ]]; then
    echo "completing '$1' offered '${COMPREPLY[*]}', not '$2'"
    failed=1
  fi
}

expect "tarvine se" serve
expect "tarvine " script
expect "tarvine serve --ba" --backup
expect "tarvine host --ser" --server
expect "tarvine serve --db /et" /etc
expect "tarvine serve --tls-key /et" /etc
expect "tarvine sheet --pdf /et" /etc
expect "tarvine script /et" /etc
expect "tarvine serve --log-format " json
expect "tarvine sheet --paper l" letter
exit $failed
