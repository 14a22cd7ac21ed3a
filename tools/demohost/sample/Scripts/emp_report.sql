-- Employees by department, with their manager.
select d.dname      as department,
       e.empno,
       e.ename,
       e.job,
       m.ename      as manager,
       e.hiredate,
       e.sal
  from emp e
  join dept d on d.deptno = e.deptno
  left join emp m on m.empno = e.mgr
 order by d.dname, e.ename;
