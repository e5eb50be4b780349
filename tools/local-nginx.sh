# A private nginx on 127.0.0.1 serving one folder (and, below /trickle/, the
# same files very slowly), for the demo and the benchmarks. Source it, then:
#
#   local_nginx_start STATE_DIR WWW_DIR   sets nginx_pid and nginx_port
#   local_nginx_stop
#
# It needs no root; started by root, nginx serves as "nobody", who must be
# able to reach WWW_DIR.
nginx_pid=""
nginx_port=""
# nginx lives in /usr/sbin, which a user's PATH may leave out.
PATH="$PATH:/usr/sbin"

# local_nginx_try STATE_DIR WWW_DIR PORT: 0 once it answers on PORT.
local_nginx_try() {
    cat >"$1/nginx.conf" <<CONF
worker_processes 2;
pid $1/nginx.pid;
error_log $1/error.log;
events { worker_connections 512; }
http {
    access_log off;
    sendfile on;
    tcp_nopush on;
    default_type application/octet-stream;
    client_body_temp_path $1/body;
    proxy_temp_path $1/proxy;
    fastcgi_temp_path $1/fastcgi;
    uwsgi_temp_path $1/uwsgi;
    scgi_temp_path $1/scgi;
    server {
        listen 127.0.0.1:$3;
        root $2;
        # The same files at 64 bytes a second: a download that waits.
        location /trickle/ {
            alias $2/;
            limit_rate 64;
        }
    }
}
CONF
    nginx -p "$1" -e "$1/error.log" -c "$1/nginx.conf" -g 'daemon off;' 2>>"$1/error.log" &
    nginx_pid=$!
    tries=0
    while [ $tries -lt 50 ]; do
        if ! kill -0 "$nginx_pid" 2>/dev/null; then
            wait "$nginx_pid" 2>/dev/null || true
            nginx_pid=""
            return 1
        fi
        # Any HTTP answer means it listens.
        code=$(curl -s -o /dev/null -w '%{http_code}' "http://127.0.0.1:$3/" 2>/dev/null || true)
        [ "${code:-000}" != 000 ] && return 0
        sleep 0.1
        tries=$((tries + 1))
    done
    return 1
}

local_nginx_start() {
    mkdir -p "$1"
    port=$((20000 + $$ % 20000))
    attempt=0
    until local_nginx_try "$1" "$2" "$port"; do
        attempt=$((attempt + 1))
        if [ $attempt -ge 10 ]; then
            echo "nginx did not start:" >&2
            tail -5 "$1/error.log" >&2
            return 1
        fi
        local_nginx_stop
        port=$((port + 1))
    done
    nginx_port=$port
}

local_nginx_stop() {
    if [ -n "$nginx_pid" ]; then
        kill "$nginx_pid" 2>/dev/null || true
        wait "$nginx_pid" 2>/dev/null || true
        nginx_pid=""
    fi
}
