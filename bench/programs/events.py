# An event bus: handlers are closures kept in lists, one list per event name.
# A generator emits a stream of events; handlers keep their state in captured
# variables, and some of them register or remove other handlers: a login
# adds a handler that follows that user's purchases until the logout, and
# every fifth error arms a one-shot handler for the next tick.
handlers = {}
next_id = 0


def on(name, fn):
    global next_id
    next_id += 1
    handlers.setdefault(name, []).append({"id": next_id, "fn": fn})
    return next_id


def off(name, id):
    handlers[name] = [h for h in handlers[name] if h["id"] != id]


# Handlers added while an event is dispatched first see the next event, and
# removed ones still see the current one.
def emit(name, event):
    hs = handlers.get(name)
    if hs is None:
        return 0
    n = len(hs)
    for h in hs[:]:
        h["fn"](event)
    return n


def counter(name):
    count = 0

    def handler(event):
        nonlocal count
        count += 1

    on(name, handler)
    return lambda: count


def main():
    names = ["tick", "buy", "sell", "login", "logout", "error"]
    counts = {name: counter(name) for name in names}

    revenue = 0
    largest = 0

    def on_buy(event):
        nonlocal revenue, largest
        revenue += event["amount"]
        if event["amount"] > largest:
            largest = event["amount"]

    def on_sell(event):
        nonlocal revenue
        revenue -= event["amount"]

    on("buy", on_buy)
    on("sell", on_sell)

    sessions = {}
    session_spent = 0
    session_count = 0

    def on_login(event):
        user = event["user"]
        if user in sessions:
            return
        spent = 0
        purchases = 0

        def follow(e):
            nonlocal spent, purchases
            if e["user"] == user:
                spent += e["amount"]
                purchases += 1

        sessions[user] = {"id": on("buy", follow), "total": lambda: spent * 1000 + purchases}

    def on_logout(event):
        nonlocal session_spent, session_count
        session = sessions.get(event["user"])
        if session is None:
            return
        off("buy", session["id"])
        session_spent += session["total"]()
        session_count += 1
        del sessions[event["user"]]

    on("login", on_login)
    on("logout", on_logout)

    errors = 0
    alarms = 0
    alarm_time = 0

    def on_error(event):
        nonlocal errors
        errors += 1
        if errors % 5 == 0:
            def once(e):
                nonlocal alarms, alarm_time
                alarms += 1
                alarm_time = (alarm_time + e["time"] * event["code"]) % 1000000007
                off("tick", id)

            id = on("tick", once)

    on("error", on_error)

    seed = 2024

    def next_random(limit):
        nonlocal seed
        seed = seed * 16807 % 2147483647
        return seed % limit

    time = 0
    calls = 0
    for step in range(800000):
        r = next_random(100)
        user = "user" + str(next_random(60))
        if r < 40:
            time += 1
            calls += emit("tick", {"time": time})
        elif r < 65:
            calls += emit("buy", {"user": user, "amount": 1 + next_random(500)})
        elif r < 80:
            calls += emit("sell", {"user": user, "amount": 1 + next_random(300)})
        elif r < 88:
            calls += emit("login", {"user": user})
        elif r < 96:
            calls += emit("logout", {"user": user})
        else:
            calls += emit("error", {"code": 1 + next_random(9)})

    for name in names:
        print(name, counts[name]())
    print("revenue", revenue, "largest", largest)
    print("sessions", session_count, session_spent, "open", len(sessions), "buy handlers", len(handlers["buy"]))
    print("alarms", alarms, alarm_time, "tick handlers", len(handlers["tick"]))
    print("calls", calls, "ids", next_id)


main()
