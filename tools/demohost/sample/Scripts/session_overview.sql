-- Who is connected, and what each session is waiting for.
select s.sid,
       s.serial#,
       s.username,
       s.status,
       s.machine,
       s.program,
       s.event,
       s.seconds_in_wait
  from v$session s
 where s.type = 'USER'
 order by s.username, s.sid;
