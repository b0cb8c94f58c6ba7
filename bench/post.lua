-- wrk script: one POST of a typical Notification per connection, then the
-- figures in a form bench/run-bench reads back.
wrk.method = "POST"
wrk.headers["Content-Type"] = "application/json"
wrk.headers["Connection"] = "close"
wrk.body = '{"MsgType":"Notification","Title":"Build 4711 finished",' ..
           '"Info":"All 312 tests passed on the nightly run.",' ..
           '"Link":"aHR0cDovL2NpLmV4YW1wbGUuY29tL2J1aWxkLzQ3MTE=",' ..
           '"FunctionGuid":"{6B29FC40-CA47-1067-B31D-00DD010662DA}"}'

function done(summary, latency, requests)
    local seconds = summary.duration / 1e6
    local errors = summary.errors
    io.write(string.format(
        "RESULT requests=%d rps=%.0f p50_us=%d p99_us=%d max_us=%d " ..
        "connect_err=%d read_err=%d write_err=%d status_err=%d timeout=%d\n",
        summary.requests, summary.requests / seconds,
        latency:percentile(50), latency:percentile(99), latency.max,
        errors.connect, errors.read, errors.write, errors.status, errors.timeout))
end
